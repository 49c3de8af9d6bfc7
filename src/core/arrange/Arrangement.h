#pragma once
// The inputs of one window arrangement: the instances to arrange with their main windows, the manager's
// main window, and the arrangement settings read when the command was given. Plain data, copied into the
// background task so that nothing the user interface owns is read while it runs.

#include <cstdint>
#include <vector>

#include "core/platform/WindowSystem.h"
#include "core/storage/GlobalSettings.h"

namespace arrange {

// One instance named by the arrange command. The model hands in, in the command's order, each instance's
// unique index and its top window (the "KVPlayerMainFrame" window of the instance's process, the top window of its
// instance record), or 0 when the instance is not running; those without a window are skipped.
struct ArrangeTarget {
    std::int32_t uniqueIndex = 0;
    platform::WindowHandle window = 0;
};

// A window's restored rectangle, recorded before every arrangement.
struct NormalPlacement {
    platform::WindowHandle window = 0;
    geometry::Rect rect;
};

enum class Layout { Cascade, FixedGrid, AutoSize };

struct ArrangeSettings {
    int alignType = 0;            // "windowsAlignType": 1 cascade, anything else a grid
    bool autoSize = true;         // "windowsAutoSize"
    int rowCount = 4;             // "windowsRowCount": windows per row
    common::Point origin{0, 0};   // "windowsOrigin": cascade start
    common::Point offset{40, 40}; // "windowsOffset": cascade step
    bool fitHeight = true;        // "sortwndnotoutscreen"
    bool sameMonitor = true;      // "moreScreenSortInSame"

    Layout layout() const;
};

// The manager-wide settings (the program's own record); missing keys give their defaults.
ArrangeSettings readArrangeSettings(const common::GlobalSettings& settings);

// One arrangement as its task runs it.
struct ArrangeJob {
    std::vector<platform::WindowHandle> windows; // the windows found, in the command's order
    platform::WindowHandle mainWindow = 0;
    ArrangeSettings settings;
};

std::vector<platform::WindowHandle> windowsFound(const std::vector<ArrangeTarget>& targets);

} // namespace arrange
