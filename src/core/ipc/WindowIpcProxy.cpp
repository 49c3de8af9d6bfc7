#include "core/ipc/WindowIpcProxy.h"

#include "core/log/Log.h"

namespace utility {

WindowIpcProxy::WindowIpcProxy(platform::IpcPlatform& platform, bool runWatchdog) : m_platform(platform) {
    if (!runWatchdog) return;
    checkTimeoutThread.start(&WindowIpcProxy::checkTimeoutProc);
    KVLOG_AS("utility::WindowIpcProxy::WindowIpcProxy", L"checkTimeoutThread:%lld",
             static_cast<long long>(checkTimeoutThread.threadId()));
}

WindowIpcProxy::~WindowIpcProxy() {
    m_tick.close();
    checkTimeoutThread.join();
    std::lock_guard guard(m_lock);
    m_workers.clear();
}

void WindowIpcProxy::send(int key, platform::WindowHandle window, std::uint32_t messageId,
                          std::vector<std::uint8_t> payload) {
    std::lock_guard guard(m_lock);
    auto& worker = m_workers[key];
    if (!worker) {
        worker = std::make_shared<EmulatorWorkerThread>(
            key, [this](int k, EmulatorStatus status) { notify(k, status); }, m_platform);
    }
    worker->push(window, messageId, std::move(payload));
}

void WindowIpcProxy::notify(int key, EmulatorStatus status) {
    std::lock_guard guard(m_callbackLock);
    if (m_statusCallback) m_statusCallback(key, status);
}

void WindowIpcProxy::setStatusCallback(EmulatorStatusCallback callback) {
    std::lock_guard guard(m_callbackLock);
    m_statusCallback = std::move(callback);
}

std::shared_ptr<EmulatorWorkerThread> WindowIpcProxy::worker(int key) const {
    std::lock_guard guard(m_lock);
    auto it = m_workers.find(key);
    return it == m_workers.end() ? nullptr : it->second;
}

void WindowIpcProxy::checkTimeouts() {
    std::map<int, std::shared_ptr<EmulatorWorkerThread>> workers;
    {
        std::lock_guard guard(m_lock);
        workers = m_workers;
    }
    for (auto& [key, worker] : workers) {
        if (worker->isTimeout() && worker->takeUnreported()) notify(key, EmulatorStatus::NotResponding);
    }
}

std::uint32_t WindowIpcProxy::checkTimeoutProc() {
    while (m_tick.waitFor(std::chrono::milliseconds(kWatchdogTickMs)) == BoundedSemaphore::Wait::TimedOut)
        checkTimeouts();
    return 0;
}

} // namespace utility
