#pragma once
// The steps every layout takes for one window, and the facts the auto-size layouts derive from the
// desktop: the monitor scale and the overlap of neighbouring windows. Called on the arrangement's task only.

#include "core/platform/WindowSystem.h"

namespace arrange {

// Restores the window when minimised, brings it to the front, and places it at (x, y) behind the main window.
void moveWindow(platform::WindowSystem& ws, platform::WindowHandle window, platform::WindowHandle mainWindow, int x,
                int y);

// Primary monitor DPI ÷ the main window's monitor DPI, or 1.0 with one monitor, when the main window is on
// the primary monitor, when both DPIs agree, or when the system cannot tell.
float monitorScale(platform::WindowSystem& ws, platform::WindowHandle mainWindow);

// ⌈windows ÷ perRow⌉; perRow must be positive.
int rowCount(int windows, int perRow);

} // namespace arrange
