#pragma once
// Values reported from worker threads, in the order they arrived.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace testing_support {

template <class T>
class Recorded {
public:
    void add(T value) {
        std::lock_guard guard(m_lock);
        m_seen.push_back(std::move(value));
        m_changed.notify_all();
    }
    std::vector<T> get() const {
        std::lock_guard guard(m_lock);
        return m_seen;
    }
    bool waitFor(std::size_t n, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, timeout, [&] { return m_seen.size() >= n; });
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<T> m_seen;
};

} // namespace testing_support
