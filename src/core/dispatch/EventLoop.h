#pragma once
// The portable user-interface loop: a thread-safe task queue and a timer wheel, serving the dispatcher the
// way the hidden message window does on Windows. Tasks run in posting order; due timers run after the
// tasks that were queued before them (window timers, too, yield to posted messages), and a repeating timer
// that fell behind ticks once, not once per missed interval. Used by native tests and native tools.
//
// The clock is injectable: with a manual clock, runPending() runs what is due without any waiting.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <unordered_map>

#include "core/dispatch/TimerWheel.h"
#include "core/platform/DispatcherHost.h"

namespace common {

class EventLoop final : public platform::DispatcherHost {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    EventLoop();
    explicit EventLoop(Clock clock);
    ~EventLoop() override;

    void attach(Dispatcher* dispatcher) override;
    bool postTask(OwnerKey owner, Runable* task) override;
    bool startTimer(std::uint32_t id, std::uint32_t intervalMs) override;
    void stopTimer(std::uint32_t id) override;

    // Runs tasks and timers until quit() is called (from any thread, or from a task).
    void run();
    void quit();
    // Runs the queued tasks and the timers due now, without waiting; returns how many ran.
    std::size_t runPending();
    // Runs until `done` returns true (checked after each batch) or `timeout` passes; returns done().
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    struct Posted {
        OwnerKey owner;
        Runable* task;
    };
    std::uint64_t nowTick() const;
    void waitForWork(std::chrono::steady_clock::time_point limit);
    void releaseQueued();

    Clock m_clock;
    const std::chrono::steady_clock::time_point m_start;
    Dispatcher* m_dispatcher = nullptr; // UI thread only

    std::mutex m_lock; // guards m_queue and m_quit
    std::condition_variable m_wake;
    std::deque<Posted> m_queue;
    bool m_quit = false;

    TimerWheel m_wheel; // UI thread only, like the intervals
    std::unordered_map<std::uint32_t, std::uint32_t> m_intervals;
};

} // namespace common
