#pragma once
// The native window of one toolkit window: it translates mouse, wheel and keyboard messages into the
// window's portable input, paints the control tree through GDI into a back buffer, and repaints when the tree
// says something changed. The caption area (the skin's "caption" height) drags the window wherever no
// control takes the mouse.
//
// The toolkit window must outlive this object; destroying this object destroys the native window.

#include <windows.h>

#include <string_view>

#include "toolkit/SkinResources.h"
#include "toolkit/Window.h"
#include "toolkit/win32/GdiResources_win.h"

namespace ui::win32 {

class ToolkitWindow {
public:
    ToolkitWindow(Window& window, SkinResources& resources);
    ~ToolkitWindow();
    ToolkitWindow(const ToolkitWindow&) = delete;
    ToolkitWindow& operator=(const ToolkitWindow&) = delete;

    // Creates the native window with the skin's size at the window's scale as its client area.
    bool create(HWND owner, std::wstring_view className, std::wstring_view title,
                DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    HWND hwnd() const { return m_hwnd; }
    // The control tree drawn into a bitmap of the client size, as the window shows it.
    Bitmap render();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paintInto(HDC dc, Size size);
    void afterInput();

    Window& m_window;
    GdiImages m_images;
    GdiFonts m_fonts;
    HWND m_hwnd = nullptr;
    bool m_trackingLeave = false;
};

} // namespace ui::win32
