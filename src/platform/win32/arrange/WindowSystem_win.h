#pragma once
// The window arrangement's view of a Windows desktop: monitors (EnumDisplayMonitors, Shcore's per-monitor
// DPI when present), other processes' windows (rectangles, placement, restore, z-order, the blocking place
// messages), the system version and "data\data.ini" below the program's folder.
//
// Every call may come from a background thread; none of them waits on the program's own windows.

#include <windows.h>

#include <filesystem>

#include "core/arrange/WindowSystem.h"

namespace platform::win32 {

inline HWND hwndOf(arrange::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
inline arrange::WindowHandle handleOf(HWND window) {
    return reinterpret_cast<arrange::WindowHandle>(window);
}

class Win32WindowSystem final : public arrange::WindowSystem {
public:
    // `programFolder`: where "data\data.ini" lies.
    explicit Win32WindowSystem(const std::filesystem::path& programFolder);

    std::vector<arrange::Monitor> monitors() override;
    int monitorCount() override;
    arrange::Monitor monitorOf(arrange::WindowHandle window) override;
    arrange::Rect virtualScreen() override;
    arrange::Rect primaryWorkArea() override;
    int primaryScreenWidth() override;

    bool windowRect(arrange::WindowHandle window, arrange::Rect& out) override;
    bool normalRect(arrange::WindowHandle window, arrange::Rect& out) override;
    bool isMinimized(arrange::WindowHandle window) override;
    void restore(arrange::WindowHandle window) override;
    void bringToFront(arrange::WindowHandle window) override;
    void place(arrange::WindowHandle window, arrange::WindowHandle behind, int x, int y) override;
    void sendPlaceMessage(arrange::WindowHandle window, unsigned message, int x, int y, int size) override;

    bool isWindows11() override;
    arrange::Overlap readOverlap() override;

private:
    std::filesystem::path m_dataIni;
};

// Monitor facts shared with other window code.
arrange::Rect rectOf(const RECT& r);
// The monitor's rectangles and horizontal effective DPI (0 when Shcore's query is missing); false when the
// system cannot describe it.
bool describeMonitor(HMONITOR monitor, arrange::Monitor& out);
// True from Windows 11 on (build 22000), from the kernel's own version record.
bool runningOnWindows11();

} // namespace platform::win32
