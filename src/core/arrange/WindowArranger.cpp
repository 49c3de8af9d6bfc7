#include "core/arrange/WindowArranger.h"

#include <algorithm>

namespace arrange {

WindowArranger::WindowArranger(platform::WindowSystem& ws, int workers) : m_ws(ws) {
    for (int i = 0; i < std::max(workers, 1); ++i) m_workers.emplace_back([this] { work(); });
}

WindowArranger::~WindowArranger() {
    {
        std::lock_guard lock(m_lock);
        m_stopping = true;
        m_queue.clear();
    }
    m_wake.notify_all();
    for (std::thread& t : m_workers) t.join();
}

void WindowArranger::arrange(const std::vector<ArrangeTarget>& targets, platform::WindowHandle mainWindow,
                             const ArrangeSettings& settings) {
    ArrangeJob job{windowsFound(targets), mainWindow, settings};
    std::vector<NormalPlacement> placements;
    for (platform::WindowHandle w : job.windows) {
        NormalPlacement p{w, {}};
        m_ws.normalRect(w, p.rect);
        placements.push_back(p);
    }
    std::lock_guard lock(m_lock);
    m_placements = std::move(placements);
    if (job.windows.empty()) return;
    m_queue.push_back(std::move(job));
    m_wake.notify_one();
}

std::vector<NormalPlacement> WindowArranger::normalPlacements() const {
    std::lock_guard lock(m_lock);
    return m_placements;
}

void WindowArranger::waitIdle() {
    std::unique_lock lock(m_lock);
    m_idle.wait(lock, [this] { return m_queue.empty() && m_running == 0; });
}

bool WindowArranger::idle() const {
    std::lock_guard lock(m_lock);
    return m_queue.empty() && m_running == 0;
}

int WindowArranger::running() const {
    std::lock_guard lock(m_lock);
    return m_running;
}

void WindowArranger::work() {
    std::unique_lock lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping) return;
        ArrangeJob job = std::move(m_queue.front());
        m_queue.pop_front();
        ++m_running;
        lock.unlock();
        runArrangement(m_ws, job, m_monitorTable);
        lock.lock();
        --m_running;
        if (m_queue.empty() && m_running == 0) m_idle.notify_all();
    }
}

} // namespace arrange
