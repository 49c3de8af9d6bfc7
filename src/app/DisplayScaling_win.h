#pragma once
// The process's DPI awareness, set once at start-up, and the display scale the toolkit draws with.

#include <windows.h>

namespace app {

// Per-monitor awareness through Shcore.dll when the primary monitor's DPI suits it; without Shcore,
// system awareness on very wide screens. Every missing function skips its step.
void setProcessDpiAwareness();
// The scale factor of the monitor nearest to the window (1.0, 1.5 or 2.0).
double displayScaleOf(HWND window);

} // namespace app
