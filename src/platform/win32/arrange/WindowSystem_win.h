#pragma once
// The window arrangement's view of a Windows desktop: monitors (EnumDisplayMonitors, Shcore's per-monitor
// DPI when present), other processes' windows (rectangles, placement, restore, z-order, the blocking place
// messages), the system version and "data\data.ini" below the program's folder.
//
// Every call may come from a background thread; none of them waits on the program's own windows.

#include <windows.h>

#include <filesystem>

#include "core/platform/WindowSystem.h"

namespace platform::win32 {

inline HWND hwndOf(platform::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
inline platform::WindowHandle handleOf(HWND window) {
    return reinterpret_cast<platform::WindowHandle>(window);
}

class Win32WindowSystem final : public platform::WindowSystem {
public:
    // `programFolder`: where "data\data.ini" lies.
    explicit Win32WindowSystem(const std::filesystem::path& programFolder);

    std::vector<platform::Monitor> monitors() override;
    int monitorCount() override;
    platform::Monitor monitorOf(platform::WindowHandle window) override;
    geometry::Rect virtualScreen() override;
    geometry::Rect primaryWorkArea() override;
    int primaryScreenWidth() override;

    bool windowRect(platform::WindowHandle window, geometry::Rect& out) override;
    bool normalRect(platform::WindowHandle window, geometry::Rect& out) override;
    bool isMinimized(platform::WindowHandle window) override;
    void restore(platform::WindowHandle window) override;
    void bringToFront(platform::WindowHandle window) override;
    void place(platform::WindowHandle window, platform::WindowHandle behind, int x, int y) override;
    void sendPlaceMessage(platform::WindowHandle window, unsigned message, int x, int y, int size) override;

    bool isWindows11() override;
    platform::Overlap readOverlap() override;

private:
    std::filesystem::path m_dataIni;
};

// Monitor facts shared with other window code.
geometry::Rect rectOf(const RECT& r);
// The monitor's rectangles and horizontal effective DPI (0 when Shcore's query is missing); false when the
// system cannot describe it.
bool describeMonitor(HMONITOR monitor, platform::Monitor& out);
// True from Windows 11 on (build 22000), from the kernel's own version record.
bool runningOnWindows11();

} // namespace platform::win32
