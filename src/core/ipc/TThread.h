#pragma once
// A thread that runs one member function of its owner: the base of the IPC sender threads and the
// watchdog. `start` creates the thread once; later calls only report whether it exists.
//
// The owner must make the body return before the TThread is destroyed (the destructor joins): the IPC
// owners close the semaphore their body waits on. In the program they live until the process ends.

#include <cstdint>
#include <functional>
#include <future>
#include <thread>

#include "core/platform/Os.h"

namespace utility {

template <class T>
class TThread {
public:
    using Body = std::uint32_t (T::*)();

    explicit TThread(T* owner) : m_owner(owner) {}
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    virtual ~TThread() { join(); }

    virtual bool start(Body body) {
        m_body = body;
        if (!m_thread.joinable()) {
            std::promise<std::uint32_t> id;
            auto idReady = id.get_future();
            m_thread = std::thread([this, id = std::move(id)]() mutable {
                id.set_value(platform::currentThreadId());
                std::invoke(m_body, m_owner); // not ->*: GCC 12 with -fsanitize=undefined miscompiles that here
            });
            m_threadId = idReady.get();
        }
        return m_thread.joinable();
    }

    void join() {
        if (!m_thread.joinable()) return;
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach(); // the body itself dropped the last owner: it is returning anyway
        else
            m_thread.join();
    }

    std::uint32_t threadId() const { return m_threadId; }

private:
    std::uint32_t m_threadId = 0;
    std::thread m_thread;
    Body m_body = nullptr;
    T* m_owner;
};

} // namespace utility
