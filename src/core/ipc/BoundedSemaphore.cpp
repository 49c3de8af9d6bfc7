#include "core/ipc/BoundedSemaphore.h"

namespace utility {

bool BoundedSemaphore::release() {
    {
        std::lock_guard guard(m_lock);
        if (m_closed || m_count >= m_maximum) return false;
        ++m_count;
    }
    m_changed.notify_one();
    return true;
}

bool BoundedSemaphore::wait() {
    std::unique_lock guard(m_lock);
    m_changed.wait(guard, [this] { return m_closed || m_count > 0; });
    if (m_closed) return false;
    --m_count;
    return true;
}

BoundedSemaphore::Wait BoundedSemaphore::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock guard(m_lock);
    if (!m_changed.wait_for(guard, timeout, [this] { return m_closed || m_count > 0; })) return Wait::TimedOut;
    if (m_closed) return Wait::Closed;
    --m_count;
    return Wait::Signalled;
}

void BoundedSemaphore::close() {
    {
        std::lock_guard guard(m_lock);
        m_closed = true;
    }
    m_changed.notify_all();
}

int BoundedSemaphore::count() const {
    std::lock_guard guard(m_lock);
    return m_count;
}

} // namespace utility
