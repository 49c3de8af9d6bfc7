#pragma once
// A counting semaphore with a maximum, as the sender threads need it: a release at the maximum fails and is
// lost (the caller ignores that), and closing it wakes every waiter with a failed wait, which is how a
// thread waiting on it is told to end.

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace utility {

class BoundedSemaphore {
public:
    enum class Wait { Signalled, TimedOut, Closed };

    BoundedSemaphore(int initial, int maximum) : m_count(initial), m_maximum(maximum) {}
    BoundedSemaphore(const BoundedSemaphore&) = delete;
    BoundedSemaphore& operator=(const BoundedSemaphore&) = delete;

    // Adds one; false when the count is at its maximum or the semaphore is closed.
    bool release();
    // Takes one, waiting without limit; false once closed.
    bool wait();
    Wait waitFor(std::chrono::milliseconds timeout);
    void close();
    int count() const;

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count;
    const int m_maximum;
    bool m_closed = false;
};

} // namespace utility
