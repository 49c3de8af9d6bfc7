#include "app/DisplayScaling_win.h"

#include "core/app/StartupRules.h"
#include "platform/win32/arrange/WindowSystem_win.h"

namespace app {
namespace {

using SetProcessDpiAwarenessFn = HRESULT(WINAPI*)(int);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using SetProcessDPIAwareFn = BOOL(WINAPI*)();
constexpr int kPerMonitorAware = 2;
constexpr int kUnaware = 0;
constexpr int kEffectiveDpi = 0;

template <class Fn>
Fn lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

void awarenessThroughShcore(HMODULE shcore) {
    const auto setAwareness = lookUp<SetProcessDpiAwarenessFn>(shcore, "SetProcessDpiAwareness");
    const auto dpiOf = lookUp<GetDpiForMonitorFn>(shcore, "GetDpiForMonitor");
    if (!setAwareness || !dpiOf) return;
    HMONITOR primary = MonitorFromWindow(GetDesktopWindow(), MONITOR_DEFAULTTOPRIMARY);
    if (!primary) return;
    setAwareness(kPerMonitorAware);
    UINT dpiX = 0, dpiY = 0;
    if (FAILED(dpiOf(primary, kEffectiveDpi, &dpiX, &dpiY))) return;
    if (!keepPerMonitorAwareness(static_cast<int>(dpiX), static_cast<int>(dpiY))) setAwareness(kUnaware);
}

} // namespace

void setProcessDpiAwareness() {
    if (HMODULE shcore = LoadLibraryW(L"Shcore.dll")) {
        awarenessThroughShcore(shcore);
        FreeLibrary(shcore);
        return;
    }
    if (GetSystemMetrics(SM_CXSCREEN) <= kSystemAwareWidth) return;
    if (HMODULE user32 = LoadLibraryW(L"user32.dll")) {
        if (const auto setAware = lookUp<SetProcessDPIAwareFn>(user32, "SetProcessDPIAware")) setAware();
        FreeLibrary(user32);
    }
}

double displayScaleOf(HWND window) {
    platform::Monitor monitor;
    if (!platform::win32::describeMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), monitor)) return 1.0;
    return displayScaleFactor(monitor.area.height(), monitor.dpiX);
}

} // namespace app
