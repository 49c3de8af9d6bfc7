// The shared lock as a named mutex that nobody waits on: creating it when it does not exist yet is the take,
// closing the last handle (or the holder's end) the release. Ownership of the mutex plays no part, so any
// thread may release what another took.

#include <windows.h>

#include "core/platform/SharedLock.h"

namespace platform {
namespace {

class NamedObjectLock final : public SharedLock {
public:
    explicit NamedObjectLock(HANDLE handle) : m_handle(handle) {}
    ~NamedObjectLock() override { CloseHandle(m_handle); }
    NamedObjectLock(const NamedObjectLock&) = delete;
    NamedObjectLock& operator=(const NamedObjectLock&) = delete;

private:
    HANDLE m_handle;
};

} // namespace

std::unique_ptr<SharedLock> tryTakeSharedLock(const std::wstring& name) {
    HANDLE handle = CreateMutexW(nullptr, FALSE, name.c_str());
    if (!handle) return nullptr; // a different kind of object holds the name, or it cannot be made: not ours
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(handle);
        return nullptr;
    }
    return std::make_unique<NamedObjectLock>(handle);
}

} // namespace platform
