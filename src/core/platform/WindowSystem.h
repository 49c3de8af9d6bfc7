#pragma once
// What the window arrangement reads from and does to the desktop: monitors with their work areas and
// effective DPI, the virtual screen, other processes' window rectangles, placing and restoring them, the
// blocking place messages 13000/13001, the system version and the overlap values of "data\data.ini".
// Windows implements it for real (platform/win32/arrange/WindowSystem_win); native tests use a fake whose windows
// resize themselves on the place messages.
//
// Implementations are called from the arrangement's background task: they must never touch the program's
// own windows other than naming the main window as the z-order anchor.

#include <cstdint>
#include <vector>

#include "core/geometry/Geometry.h"
#include "core/platform/WindowHandle.h"

namespace platform {

using geometry::Rect;

struct Monitor {
    Rect area;     // the whole monitor, in virtual-screen coordinates
    Rect workArea; // without the task bar
    int dpiX = 0;  // horizontal effective DPI; 0 when the system cannot tell
    bool primary = false;
    std::intptr_t handle = 0; // the system's handle of the monitor, as the emulator's "monitor=" takes it
};

// The two values of section "setting" in "data\data.ini" below the program's folder, as stored.
struct Overlap {
    int x = 0;
    int y = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Every monitor whose information could be read, in the system's enumeration order.
    virtual std::vector<Monitor> monitors() = 0;
    // The number of monitors the system reports (may exceed monitors() when one cannot be read).
    virtual int monitorCount() = 0;
    // The monitor nearest to the window.
    virtual Monitor monitorOf(WindowHandle window) = 0;
    virtual Rect virtualScreen() = 0;
    virtual Rect primaryWorkArea() = 0;
    virtual int primaryScreenWidth() = 0;

    virtual bool windowRect(WindowHandle window, Rect& out) = 0;
    // The rectangle the window has when restored (its normal placement).
    virtual bool normalRect(WindowHandle window, Rect& out) = 0;
    virtual bool isMinimized(WindowHandle window) = 0;
    // Sends the system restore command.
    virtual void restore(WindowHandle window) = 0;
    // Makes the window the foreground window and brings it to the top.
    virtual void bringToFront(WindowHandle window) = 0;
    // Moves the window to (x, y), size unchanged, shown, directly behind `behind` in the z-order.
    virtual void place(WindowHandle window, WindowHandle behind, int x, int y) = 0;
    // Sends place message `message` (13000 or 13001) with the packed point and `size`; returns when the
    // window has handled it.
    virtual void sendPlaceMessage(WindowHandle window, unsigned message, int x, int y, int size) = 0;

    virtual bool isWindows11() = 0;
    virtual Overlap readOverlap() = 0;
};

} // namespace platform
