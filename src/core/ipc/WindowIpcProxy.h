#pragma once
// The process-wide sender of data messages: one EmulatorWorkerThread per key, created on the key's first
// message and kept for the life of the process, and a watchdog thread that looks at every worker every
// 2000 ms. A delivery that has waited 2000 ms or more is reported once as NotResponding; a close request
// that hangs gets its instance killed, after which the worker reports ResponseTimeout and goes on.
//
// Callers never wait for a receiver: `send` only takes the map lock and the worker's queue lock.
// The status callback runs on the sender and watchdog threads and must not call `send`.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "core/ipc/BoundedSemaphore.h"
#include "core/ipc/EmulatorStatus.h"
#include "core/ipc/EmulatorWorkerThread.h"
#include "core/ipc/TThread.h"
#include "core/platform/IpcPlatform.h"

namespace utility {

class WindowIpcProxy {
public:
    static constexpr int kWatchdogTickMs = 2000;

    // The process's proxy on the real platform, created on first use and never destroyed
    // (defined by the platform layer).
    static WindowIpcProxy& instance();

    // `runWatchdog` false: no watchdog thread; tests call checkTimeouts() themselves.
    explicit WindowIpcProxy(platform::IpcPlatform& platform, bool runWatchdog = true);
    ~WindowIpcProxy(); // for tests: every delivery in progress must have returned
    WindowIpcProxy(const WindowIpcProxy&) = delete;
    WindowIpcProxy& operator=(const WindowIpcProxy&) = delete;

    void send(int key, platform::WindowHandle window, std::uint32_t messageId, std::vector<std::uint8_t> payload);
    void notify(int key, EmulatorStatus status);
    void setStatusCallback(EmulatorStatusCallback callback);

    // One watchdog pass over every worker, in key order.
    void checkTimeouts();
    std::shared_ptr<EmulatorWorkerThread> worker(int key) const; // null before the key's first message

private:
    std::uint32_t checkTimeoutProc();

    platform::IpcPlatform& m_platform;
    mutable std::mutex m_lock; // guards the worker map only
    std::map<int, std::shared_ptr<EmulatorWorkerThread>> m_workers;
    BoundedSemaphore m_tick{0, 1}; // never released: waiting on it is the 2000 ms sleep
    TThread<WindowIpcProxy> checkTimeoutThread{this};
    std::mutex m_callbackLock;
    EmulatorStatusCallback m_statusCallback;
};

} // namespace utility
