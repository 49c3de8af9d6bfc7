#pragma once
// What the IPC sender threads need from the operating system: the process behind a window (WindowOwners), the blocking
// delivery of one data message, killing a process and a steady clock. The Windows build implements it with
// the copy-data message; native tests give receivers that answer late or never and a clock they move by hand.

#include <cstdint>
#include <vector>

#include "core/platform/WindowHandle.h"
#include "core/platform/WindowOwners.h"

namespace platform {

class IpcPlatform : public WindowOwners {
public:
    // Delivers one data message (copy-data, first parameter = messageId) and returns only once the receiver
    // has handled it, or at once when the window is gone. May block without limit.
    virtual void sendData(WindowHandle window, std::uint32_t messageId, const std::vector<std::uint8_t>& payload) = 0;
    // Kills the process, waiting at most `waitMs` for helper programs; failures are logged by the platform.
    [[nodiscard]] virtual bool killProcess(std::uint32_t processId, std::uint32_t waitMs) = 0;
    // Milliseconds of a steady clock (any origin, never 0 in practice).
    virtual std::int64_t steadyMilliseconds() = 0;
};

} // namespace platform
