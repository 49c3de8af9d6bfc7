// The layouts that keep every window's size: the cascade and the fixed-size grid.

#include <algorithm>

#include "core/arrange/Layouts.h"
#include "core/arrange/WindowSteps.h"
#include "core/log/Log.h"

namespace arrange {

void cascade(platform::WindowSystem& ws, const ArrangeJob& job) {
    const common::Point start = job.settings.origin;
    const common::Point step = job.settings.offset;
    for (std::size_t i = 0; i < job.windows.size(); ++i) {
        const int n = static_cast<int>(i);
        moveWindow(ws, job.windows[i], job.mainWindow, start.x + n * step.x, start.y + n * step.y);
    }
}

void fixedGrid(platform::WindowSystem& ws, const ArrangeJob& job) {
    const int count = static_cast<int>(job.windows.size());
    const int perRow = job.settings.rowCount;
    const int rows = rowCount(count, perRow);
    const geometry::Rect area = ws.monitorOf(job.mainWindow).workArea;
    int left = area.left;
    int top = area.top;
    int stepX = area.width() / perRow;
    int stepY = area.height() / rows;
    const int monitors = ws.monitorCount();
    if (monitors > 1 && !job.settings.sameMonitor) {
        // Spread over the whole virtual screen, starting at the leftmost monitor and the lowest monitor top.
        const geometry::Rect full = ws.virtualScreen();
        stepX = full.width() / perRow;
        stepY = full.height() / rows;
        for (const platform::Monitor& m : ws.monitors()) {
            left = std::min(left, m.area.left);
            top = std::max(top, m.area.top);
        }
    }
    KVLOG(L"monitor number is %d  ", monitors);
    for (int i = 0; i < count; ++i) {
        const int r = i / perRow;
        const int c = i % perRow;
        moveWindow(ws, job.windows[static_cast<std::size_t>(i)], job.mainWindow, left + c * stepX, top + r * stepY);
    }
}

} // namespace arrange
