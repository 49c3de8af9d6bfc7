#include "core/ipc/EmulatorWorkerThread.h"

#include <algorithm>

#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"

namespace utility {

EmulatorWorkerThread::EmulatorWorkerThread(int key, EmulatorStatusCallback callback, platform::IpcPlatform& platform)
    : TThread(this), m_uniIndexEmu(key), m_callback(std::move(callback)), m_platform(platform) {
    start(&EmulatorWorkerThread::SendMsgThreadProc);
    KVLOG_AS("utility::EmulatorWorkerThread::start", L"sendMsgThread:%lld, m_uniIndexEmu:%d",
             static_cast<long long>(threadId()), m_uniIndexEmu);
}

EmulatorWorkerThread::~EmulatorWorkerThread() {
    {
        std::lock_guard guard(m_queueLock);
        m_closed = true; // messages still queued are dropped
    }
    m_arrived.notify_one();
    join();
}

void EmulatorWorkerThread::push(platform::WindowHandle window, std::uint32_t messageId,
                                std::vector<std::uint8_t> payload) {
    bool wake;
    {
        std::lock_guard guard(m_queueLock);
        // An instance that stopped taking messages must not make us hoard them: drop the whole backlog.
        if (m_queue.size() > static_cast<std::size_t>(kQueueLimit)) m_queue.clear();
        m_queue.push_back({window, messageId, std::move(payload)});
        wake = m_waiting;
    }
    // A thread busy delivering takes the message when it comes back for the next one: no wake-up needed.
    if (wake) m_arrived.notify_one();
}

std::size_t EmulatorWorkerThread::queuedCount() const {
    std::lock_guard guard(m_queueLock);
    return m_queue.size();
}

bool EmulatorWorkerThread::takeNext(QueuedDataMessage& out) {
    std::unique_lock guard(m_queueLock);
    if (m_queue.empty() && !m_closed) {
        m_waiting = true;
        m_arrived.wait(guard, [this] { return m_closed || !m_queue.empty(); });
        m_waiting = false;
    }
    if (m_closed) return false;
    out = std::move(m_queue.front());
    m_queue.pop_front();
    return true;
}

bool EmulatorWorkerThread::closeRequestQueued() const {
    std::lock_guard guard(m_queueLock);
    for (const auto& message : m_queue)
        if (isWatchedMessage(message.messageId)) return true;
    return false;
}

std::uint32_t EmulatorWorkerThread::SendMsgThreadProc() {
    QueuedDataMessage message;
    while (takeNext(message)) {
        if (!message.payload.empty()) deliver(message);
    }
    return 0;
}

void EmulatorWorkerThread::deliver(const QueuedDataMessage& message) {
    {
        std::lock_guard guard(m_watchLock);
        m_sendingTo = message.window;
        m_sendingClose = isWatchedMessage(message.messageId);
        if (m_sendingClose) {
            KVLOG_AS("utility::EmulatorWorkerThread::SendMsgThreadProc", L"uniIndexEmu:%d, msg:%d, pid:%d",
                     m_uniIndexEmu, message.messageId, std::max(0, m_platform.windowProcessId(message.window)));
        }
    }
    m_sendStart = m_platform.steadyMilliseconds();
    m_reported = true;
    m_platform.sendData(message.window, message.messageId, message.payload);
    {
        std::lock_guard guard(m_watchLock);
        m_sendingTo = 0;
        m_sendingClose = false;
    }
    if (isTimeout() && m_callback) m_callback(m_uniIndexEmu, EmulatorStatus::ResponseTimeout);
    m_sendStart = 0;
}

bool EmulatorWorkerThread::isTimeout() {
    const std::int64_t start = m_sendStart;
    if (start == 0) return false;
    const std::int64_t elapsed = m_platform.steadyMilliseconds() - start;
    if (elapsed < kTimeoutMs) return false;
    // A hung delivery of anything else is only reported, unless a close request waits behind it.
    const bool closeWaiting = !m_sendingClose && closeRequestQueued();
    std::int32_t watched = 0; // logged as 0 when nothing is watched or the window is gone
    {
        std::lock_guard guard(m_watchLock);
        if (m_sendingTo && (m_sendingClose || closeWaiting))
            watched = std::max(0, m_platform.windowProcessId(m_sendingTo));
        KVLOG_AS("utility::EmulatorWorkerThread::isTimeout", L"uniIndexEmu:%d, timespan:%lld, process:%d",
                 m_uniIndexEmu, static_cast<long long>(elapsed), watched);
        if (closeWaiting && watched > 0)
            KVLOG_AS("utility::EmulatorWorkerThread::isTimeout", L"a close request waits behind the hung delivery");
    }
    // The platform logs why a kill failed; the watchdog has nothing more to try, the timeout is reported.
    if (watched > 0) (void)m_platform.killProcess(static_cast<std::uint32_t>(watched), 0);
    return true;
}

} // namespace utility
