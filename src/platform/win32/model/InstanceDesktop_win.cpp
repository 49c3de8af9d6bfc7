#include "platform/win32/model/InstanceDesktop_win.h"

#include <windows.h>

#include "core/storage/Players.h"
#include "platform/win32/system/NamedMutex_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"

namespace platform::win32 {
namespace {

HWND hwnd(model::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
model::WindowHandle handle(HWND window) {
    return reinterpret_cast<model::WindowHandle>(window);
}

} // namespace

bool Win32InstanceDesktop::mutexExists(const std::wstring& name) {
    return namedMutexExists(name);
}

model::WindowHandle Win32InstanceDesktop::findWindow(const std::wstring& className) {
    return handle(FindWindowW(className.c_str(), nullptr));
}

std::int32_t Win32InstanceDesktop::windowProcessId(model::WindowHandle window) {
    DWORD processId = 0;
    // A window that is gone has no owning thread: the call answers 0.
    if (window == 0 || GetWindowThreadProcessId(hwnd(window), &processId) == 0) return -1;
    return static_cast<std::int32_t>(processId);
}

model::WindowHandle Win32InstanceDesktop::mainFrameOfProcess(std::int32_t processId) {
    if (processId <= 0) return 0;
    return handle(utility::findMainFrameOfProcess(static_cast<DWORD>(processId)));
}

model::WindowHandle Win32InstanceDesktop::findChild(model::WindowHandle parent, const std::wstring& className,
                                                    const std::wstring& title) {
    if (parent == 0) return 0;
    return handle(FindWindowExW(hwnd(parent), nullptr, className.c_str(), title.c_str()));
}

bool Win32InstanceDesktop::postToWindowClass(const std::wstring& className, std::uint32_t message, std::uintptr_t first,
                                             std::intptr_t second) {
    HWND window = FindWindowW(className.c_str(), nullptr);
    return window && PostMessageW(window, message, static_cast<WPARAM>(first), static_cast<LPARAM>(second));
}

int Win32InstanceDesktop::monitorCount() {
    return GetSystemMetrics(SM_CMONITORS);
}

std::intptr_t Win32InstanceDesktop::monitorNearestTo(model::WindowHandle window) {
    return reinterpret_cast<std::intptr_t>(MonitorFromWindow(hwnd(window), MONITOR_DEFAULTTONEAREST));
}

void Win32InstanceDesktop::startInstance(const common::Players& players, int index, std::wstring_view parameters) {
    players.startPlayer(index, parameters);
}

void Win32InstanceDesktop::stopInstance(const common::Players& players, std::int32_t id, int index) {
    players.stopPlayer(id, index);
}

} // namespace platform::win32
