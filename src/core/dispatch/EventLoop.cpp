#include "core/dispatch/EventLoop.h"

#include <vector>

#include "core/dispatch/Dispatcher.h"

namespace common {

EventLoop::EventLoop() : EventLoop([] { return std::chrono::steady_clock::now(); }) {}

EventLoop::EventLoop(Clock clock) : m_clock(std::move(clock)), m_start(m_clock()), m_wheel(0) {}

EventLoop::~EventLoop() {
    releaseQueued();
}

void EventLoop::attach(Dispatcher* dispatcher) {
    m_dispatcher = dispatcher;
    if (!dispatcher) releaseQueued();
}

void EventLoop::releaseQueued() {
    std::deque<Posted> queue;
    {
        std::lock_guard guard(m_lock);
        queue.swap(m_queue);
    }
    for (const Posted& p : queue) p.task->release();
}

bool EventLoop::postTask(OwnerKey owner, Runable* task) {
    {
        std::lock_guard guard(m_lock);
        m_queue.push_back({owner, task});
    }
    m_wake.notify_one();
    return true;
}

std::uint64_t EventLoop::nowTick() const {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(m_clock() - m_start).count());
}

bool EventLoop::startTimer(std::uint32_t id, std::uint32_t intervalMs) {
    if (intervalMs == 0) return false;
    m_intervals[id] = intervalMs;
    m_wheel.add(id, nowTick() + intervalMs);
    return true;
}

void EventLoop::stopTimer(std::uint32_t id) {
    m_intervals.erase(id);
    m_wheel.remove(id);
}

std::size_t EventLoop::runPending() {
    std::size_t ran = 0;
    // Tasks first, only those queued when we started (tasks posted by tasks wait for the next round).
    std::deque<Posted> batch;
    {
        std::lock_guard guard(m_lock);
        batch.swap(m_queue);
    }
    for (const Posted& p : batch) {
        if (m_dispatcher)
            m_dispatcher->deliverTask(p.owner, p.task);
        else
            p.task->release();
        ++ran;
    }
    std::vector<std::uint32_t> expired;
    const std::uint64_t now = nowTick();
    m_wheel.advance(now, expired);
    for (std::uint32_t id : expired) {
        auto it = m_intervals.find(id);
        if (it == m_intervals.end()) continue; // stopped by an earlier timer of this round
        m_wheel.add(id, now + it->second);     // re-armed first: the task may stop it
        if (m_dispatcher) m_dispatcher->deliverTimer(id);
        ++ran;
    }
    return ran;
}

void EventLoop::waitForWork(std::chrono::steady_clock::time_point limit) {
    std::unique_lock lock(m_lock);
    if (!m_queue.empty() || m_quit) return;
    auto until = limit;
    if (auto due = m_wheel.nextDue()) {
        const auto dueTime = m_start + std::chrono::milliseconds(*due);
        if (dueTime < until) until = dueTime;
    }
    // The wait uses real time; with a manual clock callers drive runPending() themselves.
    const auto remaining = until - m_clock();
    if (remaining > std::chrono::steady_clock::duration::zero())
        m_wake.wait_for(lock, remaining, [this] { return !m_queue.empty() || m_quit; });
}

void EventLoop::run() {
    for (;;) {
        {
            std::lock_guard guard(m_lock);
            if (m_quit) {
                m_quit = false;
                return;
            }
        }
        runPending();
        waitForWork(m_clock() + std::chrono::hours(1));
    }
}

void EventLoop::quit() {
    {
        std::lock_guard guard(m_lock);
        m_quit = true;
    }
    m_wake.notify_one();
}

bool EventLoop::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto limit = m_clock() + timeout;
    for (;;) {
        runPending();
        if (done()) return true;
        if (m_clock() >= limit) return false;
        waitForWork(limit);
    }
}

} // namespace common
