#include "platform/win32/model/InstanceDesktop_win.h"

#include <windows.h>

#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/storage/DesktopUser_win.h"
#include "platform/win32/storage/Shell_win.h"
#include "platform/win32/system/NamedMutex_win.h"
#include "platform/win32/system/ObjectDirectory_win.h"
#include "platform/win32/system/ProcessWindows_win.h"

namespace platform::win32 {
namespace {

HWND hwnd(platform::WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
platform::WindowHandle handle(HWND window) {
    return reinterpret_cast<platform::WindowHandle>(window);
}

} // namespace

bool Win32InstanceDesktop::listMutexes(std::vector<std::wstring>& names) {
    return listSessionMutexes(names);
}

bool Win32InstanceDesktop::listTopWindows(std::vector<platform::TopWindow>& windows) {
    return m_topWindows.list(windows);
}

bool Win32InstanceDesktop::mutexExists(const std::wstring& name) {
    return namedMutexExists(name);
}

platform::WindowHandle Win32InstanceDesktop::findWindow(const std::wstring& className) {
    return handle(FindWindowW(className.c_str(), nullptr));
}

std::int32_t Win32InstanceDesktop::windowProcessId(platform::WindowHandle window) {
    return platform::win32::ownerProcessOf(hwnd(window));
}

platform::WindowHandle Win32InstanceDesktop::mainFrameOfProcess(std::int32_t processId) {
    if (processId <= 0) return 0;
    return handle(utility::findMainFrameOfProcess(static_cast<DWORD>(processId)));
}

platform::WindowHandle Win32InstanceDesktop::findChild(platform::WindowHandle parent, const std::wstring& className,
                                                       const std::wstring& title) {
    if (parent == 0) return 0;
    return handle(FindWindowExW(hwnd(parent), nullptr, className.c_str(), title.c_str()));
}

bool Win32InstanceDesktop::postToWindowClass(const std::wstring& className, std::uint32_t message, std::uintptr_t first,
                                             std::intptr_t second) {
    HWND window = FindWindowW(className.c_str(), nullptr);
    return window && PostMessageW(window, message, static_cast<WPARAM>(first), static_cast<LPARAM>(second));
}

bool Win32InstanceDesktop::postData(const std::wstring& windowClass, int key, std::uint32_t message,
                                    std::wstring_view text) {
    utility::WindowIPC endpoint;
    if (!endpoint.open(windowClass)) return false;
    endpoint.postData(key, message, text);
    return true;
}

int Win32InstanceDesktop::startAsDesktopUser(const std::wstring& file, const std::wstring& parameters) {
    return common::runAsDesktopUser(file, parameters);
}

void Win32InstanceDesktop::shellOpen(const std::wstring& file, const std::wstring& parameters) {
    (void)common::shell(file, parameters); // a failed shell start is logged where it happens
}

int Win32InstanceDesktop::execute(const std::wstring& file, const std::wstring& parameters) {
    return common::execute(file, parameters);
}

} // namespace platform::win32
