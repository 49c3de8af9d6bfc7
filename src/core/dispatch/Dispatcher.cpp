#include "core/dispatch/Dispatcher.h"

#include <atomic>
#include <vector>

#include "core/dispatch/Subscriptions.h"
#include "core/log/Log.h"

namespace common {

OwnerKey newOwnerKey() {
    static std::atomic<OwnerKey> next{kProcessOwner + 1};
    return next.fetch_add(1);
}

Dispatcher::Dispatcher(platform::DispatcherHost& host) : m_host(host), m_uiThread(std::this_thread::get_id()) {
    m_host.attach(this);
}

Dispatcher::~Dispatcher() {
    std::unordered_map<std::uint32_t, std::unique_ptr<TimerRecord>> timers;
    {
        std::lock_guard guard(m_lock);
        timers.swap(m_timers);
    }
    for (auto& [id, record] : timers) {
        m_host.stopTimer(id);
        if (record->running == 0)
            record->task->release();
        else
            record.release()->killed = true; // a run in progress frees it (destroyed from inside a task)
    }
    m_host.attach(nullptr);
}

bool Dispatcher::post(OwnerKey owner, Runable* task) {
    if (!task) return false;
    {
        std::lock_guard guard(m_lock);
        if (m_retired.contains(owner)) {
            task->release(); // its owner is gone for good
            return false;
        }
        ++m_pending[owner]; // a new owner starts at 0 and becomes 1
    }
    if (m_host.postTask(owner, task)) return true;
    {
        std::lock_guard guard(m_lock);
        --m_pending[owner];
    }
    KVLOG(L"post failed, owner %llx", static_cast<unsigned long long>(owner));
    task->release();
    return false;
}

bool Dispatcher::postToUiThread(std::function<void()> fn) {
    if (!fn) {
        KVLOG(L"empty task refused");
        return false;
    }
    return post(kProcessOwner, new FunctionRunable(std::move(fn)));
}

void Dispatcher::cancel(OwnerKey owner) {
    std::lock_guard guard(m_lock);
    if (auto it = m_pending.find(owner); it != m_pending.end()) it->second = -1;
}

void Dispatcher::retire(OwnerKey owner) {
    std::lock_guard guard(m_lock);
    m_retired.insert(owner);
    if (auto it = m_pending.find(owner); it != m_pending.end()) it->second = -1;
}

bool Dispatcher::isRetired(OwnerKey owner) const {
    std::lock_guard guard(m_lock);
    return m_retired.contains(owner);
}

void Dispatcher::deliverTask(OwnerKey owner, Runable* task) {
    bool runIt = false;
    {
        std::lock_guard guard(m_lock);
        if (auto it = m_pending.find(owner); it != m_pending.end() && it->second >= 0) {
            --it->second;
            runIt = true;
        }
    }
    if (runIt) task->run();
    task->release();
}

std::uint32_t Dispatcher::createTimer(std::uint32_t intervalMs, Runable* task, bool repeat) {
    if (!task) return 0;
    if (!onUiThread()) {
        KVLOG(L"timer refused: not on the ui thread");
        task->release();
        return 0;
    }
    std::uint32_t id;
    {
        std::lock_guard guard(m_lock);
        id = ++m_timerCounter;
        if (id == 0) id = ++m_timerCounter; // after wrapping around, 0 still means "no timer"
    }
    if (!m_host.startTimer(id, intervalMs)) {
        KVLOG(L"timer %u of %u ms refused by the platform", id, intervalMs);
        task->release();
        return 0;
    }
    std::lock_guard guard(m_lock);
    m_timers[id] = std::make_unique<TimerRecord>(TimerRecord{repeat, task});
    return id;
}

void Dispatcher::killTimer(std::uint32_t id) {
    std::unique_ptr<TimerRecord> record;
    {
        std::lock_guard guard(m_lock);
        auto it = m_timers.find(id);
        if (it == m_timers.end()) return;
        record = std::move(it->second);
        m_timers.erase(it);
    }
    m_host.stopTimer(id);
    forgetDelayed(id);
    if (record->running == 0)
        freeTimer(record.release());
    else
        record.release()->killed = true; // killed from inside its own run: the run frees it
}

void Dispatcher::freeTimer(TimerRecord* record) {
    record->task->release();
    delete record;
}

void Dispatcher::deliverTimer(std::uint32_t id) {
    TimerRecord* record = nullptr;
    {
        std::lock_guard guard(m_lock);
        auto it = m_timers.find(id);
        if (it == m_timers.end()) return;
        record = it->second.get();
        ++record->running;
    }
    record->task->run();
    --record->running;
    if (record->killed) {
        if (record->running == 0) freeTimer(record);
        return;
    }
    if (!record->repeat) killTimer(id);
}

bool Dispatcher::delay(OwnerKey owner, int key, std::int32_t intervalMs, Runable* task) {
    if (owner == 0 || intervalMs <= 0 || !task) {
        if (task) task->release();
        return false;
    }
    auto& calls = m_delayed[owner];
    if (auto it = calls.find(key); it != calls.end()) killTimer(it->second);
    const std::uint32_t id = createTimer(static_cast<std::uint32_t>(intervalMs), task, false);
    if (id == 0) return false;
    m_delayed[owner][key] = id;
    m_delayedById[id] = {owner, key};
    return true;
}

void Dispatcher::cancelDelayed(OwnerKey owner) {
    auto it = m_delayed.find(owner);
    if (it == m_delayed.end()) return;
    std::vector<std::uint32_t> ids;
    for (const auto& [key, id] : it->second) ids.push_back(id);
    m_delayed.erase(owner);
    for (std::uint32_t id : ids) killTimer(id);
}

void Dispatcher::forgetDelayed(std::uint32_t id) {
    auto it = m_delayedById.find(id);
    if (it == m_delayedById.end()) return;
    const auto [owner, key] = it->second;
    m_delayedById.erase(it);
    if (auto calls = m_delayed.find(owner); calls != m_delayed.end()) {
        calls->second.erase(key);
        if (calls->second.empty()) m_delayed.erase(calls);
    }
}

std::size_t Dispatcher::timerCount() const {
    std::lock_guard guard(m_lock);
    return m_timers.size();
}

std::int32_t Dispatcher::pendingCount(OwnerKey owner) const {
    std::lock_guard guard(m_lock);
    auto it = m_pending.find(owner);
    return it == m_pending.end() ? 0 : it->second;
}

// ---- the process-wide dispatcher ----

namespace dispatch {
namespace {

std::atomic<Dispatcher*> g_dispatcher{nullptr};
std::atomic<int> g_users{0}; // calls in progress that may still use g_dispatcher

// Runs `fn` with the installed dispatcher, or returns `otherwise` when none is installed.
template <class R, class F>
R withDispatcher(R otherwise, F&& fn) {
    g_users.fetch_add(1);
    Dispatcher* d = g_dispatcher.load();
    R result = d ? fn(*d) : otherwise;
    g_users.fetch_sub(1);
    return result;
}

} // namespace

void install(Dispatcher* dispatcher) {
    g_dispatcher.store(dispatcher);
}

Dispatcher* uninstall() {
    Dispatcher* d = g_dispatcher.exchange(nullptr);
    while (g_users.load() != 0) std::this_thread::yield();
    return d;
}

bool post(OwnerKey owner, Runable* task) {
    const bool posted = withDispatcher(false, [&](Dispatcher& d) {
        d.post(owner, task);
        return true;
    });
    if (!posted && task) task->release();
    return posted;
}

bool postToUiThread(std::function<void()> fn) {
    return withDispatcher(false, [&](Dispatcher& d) { return d.postToUiThread(std::move(fn)); });
}

void cancel(OwnerKey owner) {
    withDispatcher(0, [&](Dispatcher& d) {
        d.cancel(owner);
        return 0;
    });
    dropSubscriptions(owner);
}

void retire(OwnerKey owner) {
    withDispatcher(0, [&](Dispatcher& d) {
        d.retire(owner);
        return 0;
    });
    dropSubscriptions(owner);
}

std::uint32_t createTimer(std::uint32_t intervalMs, Runable* task, bool repeat) {
    const std::uint32_t id = withDispatcher(std::uint32_t{0xFFFFFFFF},
                                            [&](Dispatcher& d) { return d.createTimer(intervalMs, task, repeat); });
    if (id != 0xFFFFFFFF) return id;
    if (task) task->release();
    return 0;
}

void killTimer(std::uint32_t id) {
    withDispatcher(0, [&](Dispatcher& d) {
        d.killTimer(id);
        return 0;
    });
}

bool delay(OwnerKey owner, int key, std::int32_t intervalMs, Runable* task) {
    bool handled = false;
    const bool ok = withDispatcher(false, [&](Dispatcher& d) {
        handled = true;
        return d.delay(owner, key, intervalMs, task);
    });
    if (!handled && task) task->release();
    return ok;
}

void cancelDelayed(OwnerKey owner) {
    withDispatcher(0, [&](Dispatcher& d) {
        d.cancelDelayed(owner);
        return 0;
    });
}

} // namespace dispatch

bool TimerHandle::start(std::uint32_t intervalMs, Runable* task) {
    if (intervalMs == 0 || !task) {
        if (task) task->release();
        return false;
    }
    stop();
    m_id = dispatch::createTimer(intervalMs, task, true);
    return m_id != 0;
}

void TimerHandle::stop() {
    if (m_id == 0) return;
    dispatch::killTimer(m_id);
    m_id = 0;
}

} // namespace common
