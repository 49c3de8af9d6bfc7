#pragma once
// The dispatcher's Windows host: a hidden message-only window (class "STATIC", popup style, no size) whose
// window procedure is replaced by ours. Posted tasks arrive as message 8888 (owner key, task pointer);
// timers are window timers whose identifiers are the dispatcher's.
//
// It must be created and destroyed on the user-interface thread; postTask may be called from any thread.

#include <windows.h>

#include <atomic>

#include "core/platform/DispatcherHost.h"

namespace platform::win32 {

class MessageWindowHost final : public platform::DispatcherHost {
public:
    static constexpr UINT kTaskMessage = 8888;

    MessageWindowHost();
    ~MessageWindowHost() override;
    MessageWindowHost(const MessageWindowHost&) = delete;
    MessageWindowHost& operator=(const MessageWindowHost&) = delete;

    bool valid() const { return m_window != nullptr; }
    HWND window() const { return m_window; }

    void attach(common::Dispatcher* dispatcher) override;
    bool postTask(common::OwnerKey owner, common::Runable* task) override;
    bool startTimer(std::uint32_t id, std::uint32_t intervalMs) override;
    void stopTimer(std::uint32_t id) override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void releaseQueuedTasks();

    HWND m_window = nullptr;
    WNDPROC m_originalProc = nullptr;
    std::atomic<common::Dispatcher*> m_dispatcher{nullptr};
};

} // namespace platform::win32
