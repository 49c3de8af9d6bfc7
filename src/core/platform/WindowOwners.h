#pragma once
// The one question about another program's window that both the instance model and the IPC sender threads
// ask: which process owns it. Both seams extend this interface, so the answer has one meaning everywhere.

#include <cstdint>

#include "core/platform/WindowHandle.h"

namespace platform {

class WindowOwners {
public:
    virtual ~WindowOwners() = default;

    // The process that owns the window; -1 when the window is gone (or 0 was passed).
    virtual std::int32_t windowProcessId(WindowHandle window) = 0;
};

} // namespace platform
