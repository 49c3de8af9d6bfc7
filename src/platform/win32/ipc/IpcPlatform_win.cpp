// The IPC sender threads on Windows: the blocking copy-data send, the owner of a window, the process kill,
// and the process-wide proxy wired to them.

#include <windows.h>

#include "core/ipc/WindowIpcProxy.h"
#include "core/platform/IpcPlatform.h"
#include "platform/win32/storage/Process_win.h"
#include "platform/win32/system/ProcessWindows_win.h"

namespace platform::win32 {
namespace {

class Win32IpcPlatform final : public IpcPlatform {
public:
    std::int32_t windowProcessId(platform::WindowHandle window) override {
        return ownerProcessOf(reinterpret_cast<HWND>(window));
    }

    void sendData(platform::WindowHandle window, std::uint32_t messageId,
                  const std::vector<std::uint8_t>& payload) override {
        COPYDATASTRUCT record{};
        record.dwData = 0;
        record.cbData = static_cast<DWORD>(payload.size());
        record.lpData = const_cast<std::uint8_t*>(payload.data());
        // Blocks until the receiver has handled it; returns at once when the window is gone, and when the
        // receiving process is killed.
        SendMessageW(reinterpret_cast<HWND>(window), WM_COPYDATA, static_cast<WPARAM>(messageId),
                     reinterpret_cast<LPARAM>(&record));
    }

    bool killProcess(std::uint32_t processId, std::uint32_t waitMs) override {
        return utility::process::kill(processId, waitMs);
    }

    std::int64_t steadyMilliseconds() override { return static_cast<std::int64_t>(GetTickCount64()); }
};

} // namespace
} // namespace platform::win32

namespace utility {

WindowIpcProxy& WindowIpcProxy::instance() {
    // Both live until the process ends: sender threads may still be blocked in a send at exit.
    static auto* platform = new platform::win32::Win32IpcPlatform();
    static auto* proxy = new WindowIpcProxy(*platform);
    return *proxy;
}

} // namespace utility
