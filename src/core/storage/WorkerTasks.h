#pragma once
// The worker threads of one storage object: each task runs on a thread of its own (disk copies and archiver
// runs block for minutes, so they must not share a small pool with anything short). The owner waits for
// every task before it goes away, so no task outlives the object it works on.
//
// At shutdown the program calls stopAndWait() while the log and the dispatcher still exist: running tasks
// see stopRequested() and may end early, new tasks are refused, and every thread is joined before it
// returns, so none runs during static destruction.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace common {

class WorkerTasks {
public:
    WorkerTasks() = default;
    ~WorkerTasks() { waitAll(); }
    WorkerTasks(const WorkerTasks&) = delete;
    WorkerTasks& operator=(const WorkerTasks&) = delete;

    // Once a stop was requested the task is dropped unrun (logged).
    void run(std::function<void()> task);
    void waitAll();
    void stopAndWait();
    bool stopRequested() const { return m_stop.load(); }

private:
    struct Entry {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void joinFinished(); // with m_lock held

    std::mutex m_lock;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::atomic<bool> m_stop{false};
};

} // namespace common
