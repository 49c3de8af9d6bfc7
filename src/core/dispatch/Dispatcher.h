#pragma once
// The user-interface thread's task queue and timers.
//
// Worker threads hand results to the UI thread by posting a Runable under an owner key. A window that goes
// away cancels its key, so tasks it posted earlier are dropped instead of running against a dead object:
//   - post adds 1 to the owner's pending count (creating it at 1); delivery subtracts 1 and runs the task;
//   - cancel sets the count to -1; queued tasks of a cancelled owner are released without running and
//     without changing the count; a task posted after the cancel raises it to 0 and runs;
//   - a task whose owner was never seen is released without running;
//   - retire is a cancel for good: an owner that goes away for ever (a closed window, a destroyed model)
//     retires its key, and every task posted under it later is released without running.
// Owner keys come from newOwnerKey, one for each object's life: a window opened again takes a new key, so
// nothing of its predecessor's runs against it and nothing of it is dropped for its predecessor's cancel.
// dispatch::cancel and dispatch::retire also drop the owner's event receivers (Event.h).
// Timers: createTimer returns identifiers 1, 2, 3...; one-shot timers end after their first run.
// Every task is released by the dispatcher, whether it ran or not.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "core/dispatch/Runable.h"
#include "core/platform/DispatcherHost.h"

namespace common {

// Posts with no particular owner (postToUiThread) use this key.
inline constexpr OwnerKey kProcessOwner = 1;

// Any thread. A key no one has had before (never 0 or kProcessOwner).
OwnerKey newOwnerKey();

class Dispatcher {
public:
    // Created on the thread that becomes the user-interface thread.
    explicit Dispatcher(platform::DispatcherHost& host);
    ~Dispatcher();

    Dispatcher(const Dispatcher&) = delete;
    Dispatcher& operator=(const Dispatcher&) = delete;

    // Any thread. Takes the task in every case (released at once when it cannot be queued).
    bool post(OwnerKey owner, Runable* task);
    bool postToUiThread(std::function<void()> fn);
    void cancel(OwnerKey owner);
    void retire(OwnerKey owner);
    bool isRetired(OwnerKey owner) const;

    // UI thread. Takes the task in every case. Returns the timer identifier, 0 when refused.
    std::uint32_t createTimer(std::uint32_t intervalMs, Runable* task, bool repeat);
    void killTimer(std::uint32_t id);

    // A one-shot call after `intervalMs`, recorded under (owner, key); a second delay under the same key
    // replaces the first. Refused (false) for a null owner, a non-positive interval or a missing task.
    bool delay(OwnerKey owner, int key, std::int32_t intervalMs, Runable* task);
    void cancelDelayed(OwnerKey owner);

    // Called by the host on the UI thread.
    void deliverTask(OwnerKey owner, Runable* task);
    void deliverTimer(std::uint32_t id);

    bool onUiThread() const { return std::this_thread::get_id() == m_uiThread; }
    std::size_t timerCount() const;
    std::int32_t pendingCount(OwnerKey owner) const; // 0 when the owner is unknown

private:
    struct TimerRecord {
        bool repeat;
        Runable* task;
        int running = 0;     // nested runs in progress (a task may pump messages)
        bool killed = false; // killed while running: the last run frees it
    };
    void freeTimer(TimerRecord* record);
    void forgetDelayed(std::uint32_t id);

    platform::DispatcherHost& m_host;
    mutable std::mutex m_lock; // guards the two maps below
    const std::thread::id m_uiThread;
    std::uint32_t m_timerCounter = 0;
    std::unordered_map<std::uint32_t, std::unique_ptr<TimerRecord>> m_timers;
    std::unordered_map<OwnerKey, std::int32_t> m_pending;
    std::unordered_set<OwnerKey> m_retired;
    // UI thread only: delayed calls per owner, and the reverse map to forget a call once it ran.
    std::unordered_map<OwnerKey, std::unordered_map<int, std::uint32_t>> m_delayed;
    std::unordered_map<std::uint32_t, std::pair<OwnerKey, int>> m_delayedById;
};

// The process-wide dispatcher, installed by start-up and removed by shutdown. While none is installed,
// posts are refused and their tasks released, timers are refused.
namespace dispatch {
void install(Dispatcher* dispatcher);
// Clears the process-wide dispatcher after every call still using it has returned; returns it.
Dispatcher* uninstall();

bool post(OwnerKey owner, Runable* task);
bool postToUiThread(std::function<void()> fn);
// Both also drop the owner's event receivers, whether a dispatcher is installed or not.
void cancel(OwnerKey owner);
void retire(OwnerKey owner);
std::uint32_t createTimer(std::uint32_t intervalMs, Runable* task, bool repeat);
void killTimer(std::uint32_t id);
bool delay(OwnerKey owner, int key, std::int32_t intervalMs, Runable* task);
void cancelDelayed(OwnerKey owner);
} // namespace dispatch

// A repeating timer on the process-wide dispatcher; stopped when the handle is destroyed.
class TimerHandle {
public:
    TimerHandle() = default;
    ~TimerHandle() { stop(); }
    TimerHandle(const TimerHandle&) = delete;
    TimerHandle& operator=(const TimerHandle&) = delete;

    // False for an interval of 0 or a missing task (the task is released). A running timer is stopped first.
    bool start(std::uint32_t intervalMs, Runable* task);
    bool start(std::uint32_t intervalMs, std::function<void()> fn) {
        return start(intervalMs, fn ? new FunctionRunable(std::move(fn)) : nullptr);
    }
    void stop();
    bool isActive() const { return m_id != 0; }
    std::uint32_t id() const { return m_id; }

private:
    std::uint32_t m_id = 0;
};

} // namespace common
