// The auto-size grid spread over every monitor: each monitor takes a share of the row's columns in
// proportion to its width, and the windows of a row run from the first monitor's left edge across them.
// Coordinates are kept in 16 bits, as the place message carries them.

#include <algorithm>
#include <cstdint>

#include "core/arrange/Layouts.h"
#include "core/arrange/PlaceMessages.h"
#include "core/arrange/WindowSteps.h"
#include "core/log/Log.h"

namespace arrange {

void buildMonitorTable(platform::WindowSystem& ws, int perRow, std::vector<MonitorColumns>& table) {
    table.clear();
    const int fullWidth = ws.virtualScreen().width();
    bool first = true;
    for (const platform::Monitor& m : ws.monitors()) {
        const geometry::Rect& a = m.workArea;
        const int mw = a.right - a.left;
        const float share =
            fullWidth > 0 ? static_cast<float>(mw) / static_cast<float>(fullWidth) * static_cast<float>(perRow) : 0.0f;
        int k = std::max(static_cast<int>(share), 1);
        if (!first && share * 10 > static_cast<float>(k * 10)) ++k; // later monitors take the fraction
        if (perRow == 2) k = 1;
        if (perRow == 4) k = 2;
        table.push_back({a, mw / k, k});
        KVLOG(L"monitor info %d %d %d %d", a.left, a.top, a.right, a.bottom);
        first = false;
    }
}

void autoSizeMonitors(platform::WindowSystem& ws, const ArrangeJob& job, MonitorTable& table) {
    std::lock_guard hold(table.lock);
    const auto& windows = job.windows;
    const int count = static_cast<int>(windows.size());
    const int perRow = job.settings.rowCount;
    const int rows = rowCount(count, perRow);
    const int adj = ws.isWindows11() ? -2 : 0;
    buildMonitorTable(ws, perRow, table.entries);
    const auto& monitors = table.entries;

    for (int r = 0; r < rows; ++r) {
        for (int column = 0; column < perRow; ++column) {
            const int i = r * perRow + column;
            if (i >= count) break;
            std::int16_t y = 0;
            if (r > 0) {
                geometry::Rect above;
                ws.windowRect(windows[static_cast<std::size_t>(i - perRow)], above);
                y = static_cast<std::int16_t>(above.bottom + adj);
            }
            // Walk the monitors until the one that holds this column.
            int c = column;
            int cellWidth = 0;
            std::int16_t runX = monitors.empty() ? 0 : static_cast<std::int16_t>(monitors.front().workArea.left);
            std::int16_t x = runX;
            bool found = false;
            for (const MonitorColumns& m : monitors) {
                if (c < m.columns) {
                    cellWidth = m.cellWidth;
                    if (r == 0) y = static_cast<std::int16_t>(m.workArea.top);
                    x = static_cast<std::int16_t>(runX + cellWidth * c);
                    found = true;
                    break;
                }
                c -= m.columns;
                runX = static_cast<std::int16_t>(runX + m.cellWidth * m.columns);
            }
            if (!found && !monitors.empty()) {
                cellWidth = monitors.back().cellWidth;
                y = static_cast<std::int16_t>(monitors.back().workArea.top);
                x = runX;
            }
            if (cellWidth == 0) {
                KVLOG(L"no width");
                return;
            }
            x = static_cast<std::int16_t>(x + adj * column);
            const platform::WindowHandle w = windows[static_cast<std::size_t>(i)];
            moveWindow(ws, w, job.mainWindow, x, y);
            ws.sendPlaceMessage(w, kMsgPlaceByWidth, x, y, cellWidth);
        }
    }
}

} // namespace arrange
