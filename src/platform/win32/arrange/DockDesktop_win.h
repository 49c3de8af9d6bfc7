#pragma once
// The group control frames' desktop on Windows: other processes' windows taken in as children with
// SetParent and given back, shown, hidden and read; messages to them are posted, never sent.

#include "core/platform/DockDesktop.h"

namespace platform::win32 {

class Win32DockDesktop final : public platform::DockDesktop {
public:
    bool windowRect(WindowHandle window, geometry::Rect& out) override;
    bool isMinimized(WindowHandle window) override;
    bool isMaximized(WindowHandle window) override;
    bool isVisible(WindowHandle window) override;
    void restoreNow(WindowHandle window) override;
    void show(WindowHandle window) override;
    void hide(WindowHandle window) override;
    WindowHandle parentOf(WindowHandle window) override;
    void setParent(WindowHandle window, WindowHandle parent) override;
    void post(WindowHandle window, std::uint32_t message, std::uintptr_t first, std::intptr_t second) override;
    geometry::Point cursorPos() override;
    int screenHeight() override;
};

} // namespace platform::win32
