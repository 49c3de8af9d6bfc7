#include "app/StartupWindow_win.h"

#include "core/log/Log.h"
#include "platform/win32/Win32Check_win.h"

namespace app {
namespace {

constexpr wchar_t kClassName[] = L"KVMultiMainFrame";

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_NCDESTROY) {
        auto* onDestroyed = reinterpret_cast<std::function<void()>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (onDestroyed) {
            (*onDestroyed)();
            delete onDestroyed;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

HWND createStartupWindow(HINSTANCE instance, std::function<void()> onDestroyed) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = CreateSolidBrush(RGB(0x1E, 0x20, 0x26));
    wc.lpszClassName = kClassName;
    if (!GetClassInfoExW(instance, kClassName, &wc) && !KV_WIN32_CHECK(RegisterClassExW(&wc))) return nullptr;

    auto* callback = new std::function<void()>(std::move(onDestroyed));
    HWND window =
        CreateWindowExW(0, kClassName, L"kvmulti",
                        WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                        CW_USEDEFAULT, CW_USEDEFAULT, 960, 640, nullptr, nullptr, instance, callback);
    if (!KV_WIN32_CHECK(window)) {
        delete callback;
        return nullptr;
    }
    // Centre on the primary monitor's work area.
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    SetWindowPos(window, nullptr, work.left + (work.right - work.left - w) / 2,
                 work.top + (work.bottom - work.top - h) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return window;
}

} // namespace app
