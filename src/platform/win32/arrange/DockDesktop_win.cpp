#include "platform/win32/arrange/DockDesktop_win.h"

#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/system/Win32Check_win.h"

namespace platform::win32 {

bool Win32DockDesktop::windowRect(WindowHandle window, geometry::Rect& out) {
    RECT r{};
    if (!GetWindowRect(hwndOf(window), &r)) return false;
    out = rectOf(r);
    return true;
}

bool Win32DockDesktop::isMinimized(WindowHandle window) {
    return IsIconic(hwndOf(window)) != 0;
}

bool Win32DockDesktop::isMaximized(WindowHandle window) {
    return IsZoomed(hwndOf(window)) != 0;
}

bool Win32DockDesktop::isVisible(WindowHandle window) {
    return IsWindowVisible(hwndOf(window)) != 0;
}

void Win32DockDesktop::restoreNow(WindowHandle window) {
    ShowWindow(hwndOf(window), SW_RESTORE);
}

// ShowWindow of another process's window is posted to its thread (it returns without waiting for a hung one).
void Win32DockDesktop::show(WindowHandle window) {
    ShowWindowAsync(hwndOf(window), SW_SHOWNORMAL);
}

void Win32DockDesktop::hide(WindowHandle window) {
    ShowWindowAsync(hwndOf(window), SW_HIDE);
}

WindowHandle Win32DockDesktop::parentOf(WindowHandle window) {
    // GetParent answers the owner for a top-level window; only a child's parent counts here.
    if (!(GetWindowLongPtrW(hwndOf(window), GWL_STYLE) & WS_CHILD)) return 0;
    return handleOf(GetAncestor(hwndOf(window), GA_PARENT));
}

// A docked window becomes a real child (WS_CHILD, no popup style) so that it moves with the frame and its
// coordinates are the frame's; given back, it is a popup-less top-level window again.
void Win32DockDesktop::setParent(WindowHandle window, WindowHandle parent) {
    HWND w = hwndOf(window);
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    if (parent)
        SetWindowLongPtrW(w, GWL_STYLE, (style | WS_CHILD) & ~static_cast<LONG_PTR>(WS_POPUP));
    else
        SetWindowLongPtrW(w, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CHILD));
    SetLastError(0);
    if (!SetParent(w, parent ? hwndOf(parent) : nullptr) && GetLastError() != 0)
        KV_WIN32_CHECK(false); // logs the error of SetParent
}

void Win32DockDesktop::post(WindowHandle window, std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
    // A window that is gone takes no message; nothing waits for it.
    PostMessageW(hwndOf(window), message, first, second);
}

geometry::Point Win32DockDesktop::cursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

int Win32DockDesktop::screenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

} // namespace platform::win32
