#pragma once
// What a group control frame does to the instance windows it docks, and asks of its own window: reading
// rectangles (screen coordinates), showing and hiding, taking a window in as a child and giving it back to
// the desktop, and posting messages. Instance windows belong to other processes: apart from the parent, show
// and rectangle calls everything is posted, so a hung instance never holds the frame.
// Windows implements it for real (platform/win32/arrange/DockDesktop_win); native tests use a fake desktop.
//
// User-interface thread only.

#include <cstdint>

#include "core/geometry/Geometry.h"
#include "core/platform/WindowHandle.h"

namespace platform {

class DockDesktop {
public:
    virtual ~DockDesktop() = default;

    // The window's rectangle on the screen; false when the window is gone.
    virtual bool windowRect(WindowHandle window, geometry::Rect& out) = 0;
    virtual bool isMinimized(WindowHandle window) = 0;
    virtual bool isMaximized(WindowHandle window) = 0;
    virtual bool isVisible(WindowHandle window) = 0;
    // Restores one of our own windows at once (an instance window is posted the restore command instead).
    virtual void restoreNow(WindowHandle window) = 0;
    virtual void show(WindowHandle window) = 0; // shown in its normal state
    virtual void hide(WindowHandle window) = 0;
    // 0 for a top-level window.
    virtual WindowHandle parentOf(WindowHandle window) = 0;
    // `parent` 0 makes the window a top-level window again.
    virtual void setParent(WindowHandle window, WindowHandle parent) = 0;
    virtual void post(WindowHandle window, std::uint32_t message, std::uintptr_t first, std::intptr_t second) = 0;
    virtual geometry::Point cursorPos() = 0;
    virtual int screenHeight() = 0;
};

} // namespace platform
