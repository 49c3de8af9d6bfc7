#include "platform/win32/dispatch/MessagePump_win.h"

#include <windows.h>

#include <algorithm>

namespace platform::win32 {

bool pumpMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto limit = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return done();
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done()) return true;
        }
        if (done()) return true;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(limit - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<long long>(left.count(), 50)),
                                  QS_ALLINPUT);
    }
}

} // namespace platform::win32
