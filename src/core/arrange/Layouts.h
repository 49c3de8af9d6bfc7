#pragma once
// The arrangement layouts: a cascade, a grid that keeps every window's size, and the auto-size grid that
// resizes each window to its cell through the place messages, on the main window's monitor (with a pass
// that shrinks rows running off the bottom) or spread over every monitor.
//
// Each runs to its end on the calling background task; it never touches the program's own windows except
// as the z-order anchor, and failures only end it early with a log line.

#include <mutex>
#include <vector>

#include "core/arrange/Arrangement.h"
#include "core/platform/WindowSystem.h"

namespace arrange {

// One monitor's share of the columns in the several-monitor layout.
struct MonitorColumns {
    geometry::Rect workArea;
    int cellWidth = 0;
    int columns = 0;
};

// Cleared and refilled by every several-monitor arrangement, which holds `lock` while it runs: two of them
// never interleave.
struct MonitorTable {
    std::mutex lock;
    std::vector<MonitorColumns> entries;
};

// Chooses the layout from the job's settings and runs it.
void runArrangement(platform::WindowSystem& ws, const ArrangeJob& job, MonitorTable& table);

void cascade(platform::WindowSystem& ws, const ArrangeJob& job);
void fixedGrid(platform::WindowSystem& ws, const ArrangeJob& job);
// Picks the single- or several-monitor variant.
void autoSize(platform::WindowSystem& ws, const ArrangeJob& job, MonitorTable& table);
void autoSizeSingleMonitor(platform::WindowSystem& ws, const ArrangeJob& job);
void fitHeight(platform::WindowSystem& ws, const ArrangeJob& job, int rows, int perRow);
void autoSizeMonitors(platform::WindowSystem& ws, const ArrangeJob& job, MonitorTable& table);
void buildMonitorTable(platform::WindowSystem& ws, int perRow, std::vector<MonitorColumns>& table);

} // namespace arrange
