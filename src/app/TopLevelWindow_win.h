#pragma once
// A top-level window of this program on the Windows desktop, as the window owner sees it. A view only: the
// window lives until it is destroyed, whether or not this object still exists.

#include <windows.h>

#include "app/TopLevelWindow.h"

namespace app {

class Win32TopLevelWindow final : public TopLevelWindow {
public:
    explicit Win32TopLevelWindow(HWND window) : m_window(window) {}
    platform::WindowHandle handle() const override { return reinterpret_cast<platform::WindowHandle>(m_window); }
    void bringToFront() override;
    void setShown(bool shown) override;
    void requestClose() override;
    void destroy() override;

private:
    HWND m_window;
};

} // namespace app
