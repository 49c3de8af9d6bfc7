#include "platform/win32/dispatch/MessageWindowHost_win.h"

#include "core/dispatch/Dispatcher.h"
#include "platform/win32/system/Win32Check_win.h"

namespace platform::win32 {

MessageWindowHost::MessageWindowHost() {
    m_window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!KV_WIN32_CHECK(m_window)) return;
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MessageWindowHost::windowProc)));
}

MessageWindowHost::~MessageWindowHost() {
    if (!m_window) return;
    releaseQueuedTasks();
    SetWindowLongPtrW(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_originalProc));
    DestroyWindow(m_window);
}

void MessageWindowHost::attach(common::Dispatcher* dispatcher) {
    m_dispatcher.store(dispatcher);
    if (!dispatcher) releaseQueuedTasks();
}

// Tasks still in the thread's queue would be lost with the window: take them out and free them.
void MessageWindowHost::releaseQueuedTasks() {
    MSG msg;
    while (m_window && PeekMessageW(&msg, m_window, kTaskMessage, kTaskMessage, PM_REMOVE)) {
        if (auto* task = reinterpret_cast<common::Runable*>(msg.lParam)) task->release();
    }
}

bool MessageWindowHost::postTask(common::OwnerKey owner, common::Runable* task) {
    if (!m_window) return false;
    return KV_WIN32_CHECK(
        PostMessageW(m_window, kTaskMessage, static_cast<WPARAM>(owner), reinterpret_cast<LPARAM>(task)));
}

bool MessageWindowHost::startTimer(std::uint32_t id, std::uint32_t intervalMs) {
    if (!m_window || intervalMs == 0) return false;
    return KV_WIN32_CHECK(SetTimer(m_window, id, intervalMs, nullptr) != 0);
}

void MessageWindowHost::stopTimer(std::uint32_t id) {
    if (m_window) KillTimer(m_window, id);
}

LRESULT CALLBACK MessageWindowHost::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MessageWindowHost*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == kTaskMessage) {
        auto* task = reinterpret_cast<common::Runable*>(lParam);
        if (common::Dispatcher* d = self->m_dispatcher.load())
            d->deliverTask(static_cast<common::OwnerKey>(wParam), task);
        else if (task)
            task->release();
        return 0;
    }
    if (self && message == WM_TIMER) {
        if (common::Dispatcher* d = self->m_dispatcher.load()) d->deliverTimer(static_cast<std::uint32_t>(wParam));
        return 0;
    }
    if (self && self->m_originalProc) return CallWindowProcW(self->m_originalProc, window, message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace platform::win32
