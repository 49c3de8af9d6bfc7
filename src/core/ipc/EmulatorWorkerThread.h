#pragma once
// The sender thread of one key (an instance index): a first-in-first-out queue of data messages that its
// thread delivers one at a time with the platform's blocking send, so that a hung instance blocks only this
// thread. The watchdog (WindowIpcProxy) asks `isTimeout` every 2000 ms; a close request (9222, 11000) that
// has waited 2000 ms or more gets the receiving process killed, which ends the blocked send. So does any
// delivery hung that long while a close request waits behind it: a stop must never be held up for good.
//
// The process to kill is the one that owns the window when the kill happens: a process id taken earlier
// may belong to another program by then.
//
// It never blocks its callers: `push` takes the queue lock only to append, and wakes the thread only when
// it sleeps on an empty queue; the thread takes one message at a time under the same lock.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <vector>

#include "core/ipc/EmulatorStatus.h"
#include "core/ipc/TThread.h"
#include "core/platform/IpcPlatform.h"

namespace utility {

struct QueuedDataMessage {
    platform::WindowHandle window = 0;
    std::uint32_t messageId = 0;
    std::vector<std::uint8_t> payload;
};

class EmulatorWorkerThread : public TThread<EmulatorWorkerThread> {
public:
    static constexpr int kQueueLimit = 1024; // more than this pending: the queue is emptied
    static constexpr std::int64_t kTimeoutMs = 2000;

    EmulatorWorkerThread(int key, EmulatorStatusCallback callback, platform::IpcPlatform& platform);
    ~EmulatorWorkerThread() override; // ends the thread; a delivery in progress must have returned

    void push(platform::WindowHandle window, std::uint32_t messageId, std::vector<std::uint8_t> payload);
    // True when a delivery has been waiting 2000 ms or more (logged; a watched receiver is killed).
    bool isTimeout();
    // The watchdog reports a delivery once: true (and cleared) when it was not reported yet.
    bool takeUnreported() { return m_reported.exchange(false); }

    int key() const { return m_uniIndexEmu; }
    std::size_t queuedCount() const;

private:
    std::uint32_t SendMsgThreadProc();
    bool takeNext(QueuedDataMessage& out); // false once the thread is to end
    bool closeRequestQueued() const;
    void deliver(const QueuedDataMessage& message);

    mutable std::mutex m_queueLock; // guards the queue and the two flags below
    std::condition_variable m_arrived;
    std::deque<QueuedDataMessage> m_queue;
    bool m_waiting = false; // the thread sleeps on an empty queue
    bool m_closed = false;
    const int m_uniIndexEmu;
    std::atomic<std::int64_t> m_sendStart{0}; // 0: no delivery in progress
    std::atomic<bool> m_reported{false};
    EmulatorStatusCallback m_callback;
    std::atomic<platform::WindowHandle> m_sendingTo{0}; // the window of the delivery in progress
    std::atomic<bool> m_sendingClose{false};            // that delivery is a close request
    std::mutex m_watchLock;
    platform::IpcPlatform& m_platform;
};

} // namespace utility
