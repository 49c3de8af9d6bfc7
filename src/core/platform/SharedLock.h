#pragma once
// A lock that every process of the desktop session sees under one name: the manager and the console take
// one per instance they work on, so that neither copies, backs up, restores or removes an instance the
// other is working on. Taking never waits; a process that ends releases its locks with it.
//
// Implemented once for Windows (a named kernel object: its existence is the lock) and once for the native
// build (an exclusive lock on a file in the temporary folder).

#include <memory>
#include <string>

namespace platform {

class SharedLock {
public:
    virtual ~SharedLock() = default;
};

// The lock of `name`, or null when another holder has it (in this process or another one).
std::unique_ptr<SharedLock> tryTakeSharedLock(const std::wstring& name);

} // namespace platform
