#pragma once
// The desk the arrangement tests share: a fake desktop, the manager's main window at (100, 100, 900, 700),
// the instance windows to arrange in their order, the settings and the monitor table of the multi-monitor
// layout. Monitors are added by the test, or as full-HD screens side by side whose work area ends 40 pixels
// above the bottom (the taskbar).

#include <vector>

#include "core/arrange/Layouts.h"
#include "support/FakeWindowSystem.h"

namespace testing_support {

struct ArrangeDesk {
    FakeWindowSystem ws;
    arrange::MonitorTable table;
    platform::WindowHandle main = 0;
    std::vector<platform::WindowHandle> windows;
    arrange::ArrangeSettings settings;

    explicit ArrangeDesk(int fullHdMonitors = 0) {
        for (int i = 0; i < fullHdMonitors; ++i)
            ws.addMonitor({1920 * i, 0, 1920 * (i + 1), 1080}, {1920 * i, 0, 1920 * (i + 1), 1040});
    }
    // `count` windows shaped like `first`, each `step` pixels further right and down; the main window first.
    void addWindows(int count, geometry::Rect first = {0, 0, 640, 360}, int step = 0) {
        if (main == 0) main = ws.addWindow({100, 100, 900, 700});
        for (int i = 0; i < count; ++i)
            windows.push_back(ws.addWindow(
                {first.left + step * i, first.top + step * i, first.right + step * i, first.bottom + step * i}));
    }
    void run() { arrange::runArrangement(ws, {windows, main, settings}, table); }

    geometry::Rect at(std::size_t i) const { return ws.rect(windows[i]); }
    std::vector<int> lefts() const {
        std::vector<int> v;
        for (std::size_t i = 0; i < windows.size(); ++i) v.push_back(at(i).left);
        return v;
    }
    // The size carried by every place message, in order.
    std::vector<int> sizes() const {
        std::vector<int> v;
        for (const auto& m : ws.messages()) v.push_back(m.size);
        return v;
    }
};

} // namespace testing_support
