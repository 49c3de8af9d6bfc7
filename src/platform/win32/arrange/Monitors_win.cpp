// Monitors for the window arrangement: enumeration, work areas and per-monitor DPI. GetDpiForMonitor lives
// in Shcore.dll from Windows 8.1 on; it is looked up once at run time and, where missing, DPI reads as 0.

#include <windows.h>

#include "platform/win32/arrange/WindowSystem_win.h"

namespace platform::win32 {

namespace {

using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI

GetDpiForMonitorFn dpiQuery() {
    static const GetDpiForMonitorFn query = [] {
        HMODULE shcore = LoadLibraryW(L"Shcore.dll");
        return shcore ? reinterpret_cast<GetDpiForMonitorFn>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
    return query;
}

BOOL CALLBACK collectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM param) {
    auto* list = reinterpret_cast<std::vector<platform::Monitor>*>(param);
    platform::Monitor m;
    if (describeMonitor(monitor, m)) list->push_back(m); // one that cannot be read is left out
    return TRUE;
}

} // namespace

geometry::Rect rectOf(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool describeMonitor(HMONITOR monitor, platform::Monitor& out) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
    out.area = rectOf(info.rcMonitor);
    out.workArea = rectOf(info.rcWork);
    out.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    out.handle = reinterpret_cast<std::intptr_t>(monitor);
    out.dpiX = 0;
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (const auto query = dpiQuery(); query && SUCCEEDED(query(monitor, kEffectiveDpi, &dpiX, &dpiY)))
        out.dpiX = static_cast<int>(dpiX);
    return true;
}

std::vector<platform::Monitor> Win32WindowSystem::monitors() {
    std::vector<platform::Monitor> list;
    EnumDisplayMonitors(nullptr, nullptr, collectMonitor, reinterpret_cast<LPARAM>(&list));
    return list;
}

int Win32WindowSystem::monitorCount() {
    return GetSystemMetrics(SM_CMONITORS);
}

platform::Monitor Win32WindowSystem::monitorOf(platform::WindowHandle window) {
    platform::Monitor m;
    describeMonitor(MonitorFromWindow(hwndOf(window), MONITOR_DEFAULTTONEAREST), m);
    return m;
}

geometry::Rect Win32WindowSystem::virtualScreen() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

geometry::Rect Win32WindowSystem::primaryWorkArea() {
    RECT r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return rectOf(r);
}

int Win32WindowSystem::primaryScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

} // namespace platform::win32
