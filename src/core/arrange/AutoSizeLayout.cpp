// The auto-size grid on the main window's monitor: every window is resized to its cell width by the place
// message, rows stack on the previous row's first window as it actually came out, and a second pass shrinks
// the rows to the screen height when the last window ends below it.

#include <algorithm>

#include "core/arrange/Layouts.h"
#include "core/arrange/PlaceMessages.h"
#include "core/arrange/WindowSteps.h"
#include "core/log/Log.h"

namespace arrange {

namespace {

geometry::Rect rectOf(platform::WindowSystem& ws, platform::WindowHandle window) {
    geometry::Rect r;
    ws.windowRect(window, r);
    return r;
}

int truncated(float value) {
    return static_cast<int>(value);
}

} // namespace

void autoSizeSingleMonitor(platform::WindowSystem& ws, const ArrangeJob& job) {
    const auto& windows = job.windows;
    const int count = static_cast<int>(windows.size());
    const int perRow = job.settings.rowCount;
    const int rows = rowCount(count, perRow);

    const platform::Overlap overlap = ws.readOverlap();
    int ovX = -overlap.x;
    const int ovY = -overlap.y;
    if (ws.isWindows11() && ovX == 0) ovX = -2; // Windows 11 windows carry an invisible border: let them overlap

    const geometry::Rect frame = rectOf(ws, job.mainWindow);
    KVLOG(L"main frame: left %d top %d width %d height %d", frame.left, frame.top, frame.width(), frame.height());
    const geometry::Rect area = ws.monitorOf(job.mainWindow).workArea;
    const float s = monitorScale(ws, job.mainWindow);

    int width = truncated(static_cast<float>(area.right - area.left) * s);
    if (width % 2 != 0) width += width % 2; // odd widths round away from zero
    KVLOG(L"real screen width %d", width);
    if (width == 0) width = ws.primaryWorkArea().width();
    const int cellW = (width + (1 - perRow) * ovX) / perRow;

    for (int r = 0; r < rows; ++r) {
        int y = area.top;
        if (r > 0) {
            const int firstAbove = (r - 1) * perRow;
            const geometry::Rect above = rectOf(ws, windows[static_cast<std::size_t>(firstAbove)]);
            y = truncated(static_cast<float>(above.bottom + ovY) * s);
        }
        for (int c = 0; c < perRow; ++c) {
            const int i = r * perRow + c;
            if (i >= count) break;
            const int x =
                truncated(static_cast<float>(area.left) * std::max(s, 1.0f) + static_cast<float>(c * cellW)) + c * ovX;
            const platform::WindowHandle w = windows[static_cast<std::size_t>(i)];
            moveWindow(ws, w, job.mainWindow, x, y);
            ws.sendPlaceMessage(w, kMsgPlaceByWidth, x, y, cellW);
        }
    }

    if (job.settings.fitHeight) {
        KVLOG(L"sore for h");
        fitHeight(ws, job, rows, perRow);
    }
}

void fitHeight(platform::WindowSystem& ws, const ArrangeJob& job, int rows, int perRow) {
    const auto& windows = job.windows;
    const int count = static_cast<int>(windows.size());
    const geometry::Rect area = ws.monitorOf(job.mainWindow).workArea;
    const int screenW = area.width();
    const int screenH = area.height();

    const geometry::Rect last = rectOf(ws, windows.back());
    if (last.bottom < screenH) {
        KVLOG(L"not out. bottom:%d screenHeight:%d", last.bottom, screenH);
        return;
    }
    if (perRow >= count) return; // one row only: nothing to shrink
    KVLOG(L"fame out off screen!");

    const platform::Overlap overlap = ws.readOverlap();
    const int ovX = -overlap.x;
    const int ovY = -overlap.y;
    const float s = monitorScale(ws, job.mainWindow);
    const int scaledW = truncated(static_cast<float>(screenW) * s);
    const int cellH = (truncated(static_cast<float>(screenH) * s) + (1 - rows) * ovY) / rows;
    const int cellW = ((1 - perRow) * ovX + scaledW) / perRow;
    const int stepX = cellW < 0 ? 100 - ovX : cellW;

    // First placement: every window takes the cell height, at its column's left edge.
    int yAcc = truncated(static_cast<float>(area.top) * s);
    for (int r = 0; r < rows; ++r) {
        const int y = r * ovY + yAcc;
        for (int c = 0; c < perRow; ++c) {
            const int i = r * perRow + c;
            if (i >= count) break;
            const platform::WindowHandle w = windows[static_cast<std::size_t>(i)];
            const int x = area.left + c * stepX;
            moveWindow(ws, w, job.mainWindow, x, y);
            ws.sendPlaceMessage(w, kMsgPlaceByHeight, x, y, cellH + 1);
            if (c == 0) yAcc += rectOf(ws, w).height();
        }
    }

    // The width of a row as the windows came out.
    int sumW = 0;
    for (int i = 0; i < std::min(perRow, count); ++i)
        sumW += rectOf(ws, windows[static_cast<std::size_t>(i)]).width() - ovX;

    // Centred placement: each window follows the right edge of the one before it.
    const int x0 = static_cast<int>((static_cast<float>(scaledW) / s - static_cast<float>(sumW)) * 0.5 + area.left);
    yAcc = area.top;
    for (int r = 0; r < rows; ++r) {
        const int y = r * ovY + yAcc;
        for (int c = 0; c < perRow; ++c) {
            const int i = r * perRow + c;
            if (i >= count) break;
            const platform::WindowHandle w = windows[static_cast<std::size_t>(i)];
            int x = x0;
            if (c > 0)
                x = truncated(static_cast<float>(rectOf(ws, windows[static_cast<std::size_t>(i - 1)]).right - ovX) / s);
            moveWindow(ws, w, job.mainWindow, x, y);
            ws.sendPlaceMessage(w, kMsgPlaceByHeight, x, y, cellH + 1);
            if (c == 0) yAcc = truncated(static_cast<float>(rectOf(ws, w).height() + yAcc) * s);
        }
    }
}

} // namespace arrange
