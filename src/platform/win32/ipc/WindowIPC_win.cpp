#include "platform/win32/ipc/WindowIPC_win.h"

#include <cstring>

#include "core/ipc/IpcMessages.h"
#include "core/ipc/WindowIpcProxy.h"
#include "core/log/Log.h"
#include "platform/win32/system/ProcessWindows_win.h"

namespace utility {

bool WindowIPC::create(const std::wstring& className, IWindowIPCHandle* handler) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &WindowIPC::windowProc;
    wc.hInstance = module;
    wc.lpszClassName = className.c_str();
    RegisterClassExW(&wc); // a class that exists already is fine
    CreateWindowExW(0, className.c_str(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module, this);
    if (!m_hWnd) return false;
    m_created = true;
    // Stored only now: a message that arrives during creation finds no handler and is answered 0.
    m_handler = handler;
    return true;
}

void WindowIPC::destroy() {
    if (m_created && m_hWnd) DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    m_created = false;
}

LRESULT CALLBACK WindowIPC::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowIPC*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) self->m_hWnd = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (!reachesEndpointHandler(message)) return DefWindowProcW(window, message, wParam, lParam);
    auto* self = reinterpret_cast<WindowIPC*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->m_hWnd == window && self->m_handler)
        self->m_handler->onHandleWindowIPC(message, static_cast<std::uintptr_t>(wParam),
                                           static_cast<std::intptr_t>(lParam));
    return 0;
}

bool WindowIPC::open(const std::wstring& className) {
    return open(className, L"");
}

bool WindowIPC::open(const std::wstring& className, const std::wstring& windowName) {
    SetLastError(0);
    m_hWnd = FindWindowExW(nullptr, nullptr, className.empty() ? nullptr : className.c_str(),
                           windowName.empty() ? nullptr : windowName.c_str());
    const DWORD error = GetLastError();
    if (!m_hWnd && error > 0)
        KVLOG_AS("utility::WindowIPC::open", L"className:%s, windowName:%s, error:%d", className, windowName,
                 static_cast<int>(error));
    return m_hWnd != nullptr;
}

bool WindowIPC::postMessage(std::uint32_t message, WPARAM first, LPARAM second) const {
    if (!m_hWnd) return false;
    return PostMessageW(m_hWnd, message, first, second) != 0;
}

void WindowIPC::sendData(int key, std::uint32_t message, std::vector<std::uint8_t> payload) const {
    if (!m_hWnd) return;
    WindowIpcProxy::instance().send(key, reinterpret_cast<platform::WindowHandle>(m_hWnd), message, std::move(payload));
}

void WindowIPC::postData(int key, std::uint32_t message, std::wstring_view text) const {
    const std::size_t bytes = text.size() * sizeof(wchar_t);
    if (bytes == 0) {
        KVLOG_AS("utility::WindowIPC::postData", L"msg:%d, buffLen:%d", message, 0);
        return;
    }
    std::vector<std::uint8_t> payload(bytes);
    std::memcpy(payload.data(), text.data(), bytes);
    sendData(key, message, std::move(payload));
}

HWND findMainFrameOfProcess(DWORD processId) {
    return platform::win32::findTopWindowOfProcess(processId, [](HWND window) {
        wchar_t cls[kClassNameReadChars] = {};
        GetClassNameW(window, cls, static_cast<int>(kClassNameReadChars));
        return kPlayerMainFrameClass == cls;
    });
}

} // namespace utility
