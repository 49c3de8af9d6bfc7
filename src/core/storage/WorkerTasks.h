#pragma once
// The worker threads of one storage object: each task runs on a thread of its own (disk copies and archiver
// runs block for minutes, so they must not share a small pool with anything short). The owner waits for
// every task before it goes away, so no task outlives the object it works on.

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

    void run(std::function<void()> task);
    void waitAll();

private:
    struct Entry {
        std::thread thread;
        std::atomic<bool> done{false};
    };
    void joinFinished(); // with m_lock held

    std::mutex m_lock;
    std::vector<std::unique_ptr<Entry>> m_entries;
};

} // namespace common
