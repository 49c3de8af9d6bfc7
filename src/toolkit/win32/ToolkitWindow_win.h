#pragma once
// The native window of one toolkit window: it translates mouse, wheel and keyboard messages into the
// window's portable input, paints the control tree through GDI into a back buffer, and repaints when the tree
// says something changed. The caption area (the skin's "caption" height) drags the window wherever no
// control takes the mouse.
//
// The toolkit window must outlive this object; destroying this object destroys the native window. A toolkit
// window that closes (Escape, a button, the close box) hides the native one and gives a modal owner its
// input back; its owner decides when it dies. A combo's list opens as a popup below the combo. The tooltip of
// the control under the mouse shows after the hover delay and goes on leave, click or hide. The window's
// clipboard is the system's, opened for this native window. Screen readers and automation tools read and
// press the controls through Active Accessibility; nothing of that is built before the first client asks.

#include <windows.h>

#include <memory>
#include <string_view>

#include "toolkit/ComboDropDown.h"
#include "toolkit/SkinResources.h"
#include "toolkit/Window.h"
#include "toolkit/win32/AccessibleObject_win.h"
#include "toolkit/win32/Clipboard_win.h"
#include "toolkit/win32/GdiResources_win.h"
#include "toolkit/win32/Tooltip_win.h"

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
    // Places the window's top-left corner at a screen point (menus open at a button or the cursor).
    void moveTo(Point screen);
    // Shows the window over `owner` and disables the owner until the toolkit window closes.
    void showModal(HWND owner);
    // A popup menu closes (code 0) as soon as the user activates another window.
    void setCloseOnDeactivate(bool close) { m_closeOnDeactivate = close; }
    // The control tree drawn into a bitmap of the client size, as the window shows it.
    Bitmap render();

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paintInto(HDC dc, Size size);
    void afterInput();
    void releaseOwner();
    void openDropDown(Combo& combo);
    void hoverTooltip(Point client);
    const std::shared_ptr<AccessibleLink>& accessLink();

    Window& m_window;
    SkinResources& m_resources;
    GdiImages m_images;
    GdiFonts m_fonts;
    HWND m_hwnd = nullptr;
    bool m_trackingLeave = false;
    bool m_closeOnDeactivate = false;
    HWND m_disabledOwner = nullptr;
    std::unique_ptr<Tooltip> m_tooltip;
    std::unique_ptr<Win32Clipboard> m_clipboard;
    std::shared_ptr<AccessibleLink> m_accessLink; // made by the first WM_GETOBJECT or focus event
    // The open list of a combo; the host goes first, it draws the drop-down's window.
    std::unique_ptr<ComboDropDown> m_dropDown;
    std::unique_ptr<ToolkitWindow> m_dropDownHost;
};

} // namespace ui::win32
