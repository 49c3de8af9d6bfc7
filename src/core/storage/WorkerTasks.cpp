#include "core/storage/WorkerTasks.h"

#include <algorithm>

#include "core/log/Log.h"

namespace common {

void WorkerTasks::run(std::function<void()> task) {
    std::lock_guard guard(m_lock);
    if (m_stop) {
        KVLOG(L"worker task dropped: the program is shutting down");
        return;
    }
    joinFinished();
    auto entry = std::make_unique<Entry>();
    Entry* e = entry.get();
    e->thread = std::thread([e, task = std::move(task)] {
        task();
        e->done = true;
    });
    m_entries.push_back(std::move(entry));
}

void WorkerTasks::joinFinished() {
    auto finished = std::partition(m_entries.begin(), m_entries.end(), [](const auto& e) { return !e->done; });
    for (auto it = finished; it != m_entries.end(); ++it) (*it)->thread.join();
    m_entries.erase(finished, m_entries.end());
}

void WorkerTasks::stopAndWait() {
    {
        std::lock_guard guard(m_lock); // no run() is half-way through adding a thread
        m_stop = true;
    }
    waitAll();
}

void WorkerTasks::waitAll() {
    std::vector<std::unique_ptr<Entry>> all;
    {
        std::lock_guard guard(m_lock);
        all.swap(m_entries);
    }
    for (auto& e : all) e->thread.join();
}

} // namespace common
