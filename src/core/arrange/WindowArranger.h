#pragma once
// Runs window arrangements as background tasks on a small pool of worker threads, so that the blocking
// place messages (one hung instance stalls its arrangement) never hold the user-interface thread. Nothing
// waits for an arrangement and no result is reported; the tasks touch only other processes' windows.
// Several-monitor arrangements share one monitor table and run one after the other.
//
// The model owns one arranger and calls arrange() on the user-interface thread.

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "core/arrange/Arrangement.h"
#include "core/arrange/Layouts.h"

namespace arrange {

class WindowArranger {
public:
    explicit WindowArranger(platform::WindowSystem& ws, int workers = 2);
    // Arrangements still queued are dropped; running ones end first.
    ~WindowArranger();
    WindowArranger(const WindowArranger&) = delete;
    WindowArranger& operator=(const WindowArranger&) = delete;

    // Records the normal placement of every window found (replacing the previous record), then queues the
    // arrangement of those windows and returns. Does nothing when no target has a window.
    void arrange(const std::vector<ArrangeTarget>& targets, platform::WindowHandle mainWindow,
                 const ArrangeSettings& settings);

    std::vector<NormalPlacement> normalPlacements() const;
    // Blocks until no arrangement is queued or running.
    void waitIdle();
    // No arrangement is queued or running (for a caller that must keep pumping its own messages).
    bool idle() const;
    int running() const;

private:
    void work();

    platform::WindowSystem& m_ws;
    MonitorTable m_monitorTable;
    mutable std::mutex m_lock; // guards the fields below
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<ArrangeJob> m_queue;
    int m_running = 0;
    bool m_stopping = false;
    std::vector<NormalPlacement> m_placements;
    std::vector<std::thread> m_workers;
};

} // namespace arrange
