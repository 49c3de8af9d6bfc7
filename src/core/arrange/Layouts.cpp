#include "core/arrange/Layouts.h"

#include "core/log/Log.h"

namespace arrange {

void runArrangement(platform::WindowSystem& ws, const ArrangeJob& job, MonitorTable& table) {
    if (job.windows.empty()) return;
    const Layout layout = job.settings.layout();
    if (layout == Layout::Cascade) {
        cascade(ws, job);
        return;
    }
    if (job.settings.rowCount <= 0) return;
    if (layout == Layout::FixedGrid)
        fixedGrid(ws, job);
    else
        autoSize(ws, job, table);
}

void autoSize(platform::WindowSystem& ws, const ArrangeJob& job, MonitorTable& table) {
    const int monitors = ws.monitorCount();
    KVLOG(L"sort_window_autoSize screenWidth : %d, monitorNumber: %d, fullWidth: %d", ws.primaryScreenWidth(), monitors,
          ws.virtualScreen().width());
    if (monitors <= 1 || job.settings.sameMonitor)
        autoSizeSingleMonitor(ws, job);
    else
        autoSizeMonitors(ws, job, table);
}

} // namespace arrange
