#include "app/TopLevelWindow_win.h"

#include "platform/win32/system/Win32Check_win.h"

namespace app {

// A window that is not topmost is raised by a round trip through the topmost band, which brings it above
// the other programs' windows even when the foreground lock refuses SetForegroundWindow.
void Win32TopLevelWindow::bringToFront() {
    if (IsIconic(m_window)) SendMessageW(m_window, WM_SYSCOMMAND, SC_RESTORE, 0);
    if (GetWindowLongPtrW(m_window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        ShowWindow(m_window, SW_SHOW);
        return;
    }
    SetForegroundWindow(m_window);
    BringWindowToTop(m_window);
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW;
    KV_WIN32_CHECK(SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, keep));
    KV_WIN32_CHECK(SetWindowPos(m_window, HWND_NOTOPMOST, 0, 0, 0, 0, keep));
}

void Win32TopLevelWindow::setShown(bool shown) {
    ShowWindow(m_window, shown ? SW_SHOW : SW_HIDE);
    if (shown) SetFocus(m_window);
}

void Win32TopLevelWindow::requestClose() {
    KV_WIN32_CHECK(PostMessageW(m_window, WM_CLOSE, 1, 0));
}

void Win32TopLevelWindow::destroy() {
    KV_WIN32_CHECK(DestroyWindow(m_window));
}

} // namespace app
