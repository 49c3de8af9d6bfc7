#include <gtest/gtest.h>

#include "core/arrange/Layouts.h"
#include "support/FakeWindowSystem.h"
#include "support/LogCapture.h"

using arrange::Rect;
using testing_support::FakeWindowSystem;

namespace {

struct Desk {
    FakeWindowSystem ws;
    arrange::MonitorTable table;
    arrange::WindowHandle main = 0;
    std::vector<arrange::WindowHandle> windows;
    arrange::ArrangeSettings settings;

    Desk() { settings.sameMonitor = false; }
    void addWindows(int count) {
        main = ws.addWindow({100, 100, 900, 700});
        for (int i = 0; i < count; ++i) windows.push_back(ws.addWindow({0, 0, 640, 360}));
    }
    void run() { arrange::runArrangement(ws, {windows, main, settings}, table); }
    Rect at(std::size_t i) const { return ws.rect(windows[i]); }
    std::vector<int> sizes() const {
        std::vector<int> v;
        for (const auto& m : ws.messages()) v.push_back(m.size);
        return v;
    }
};

} // namespace

TEST(AutoSizeMonitors, TwoFullHdMonitorsFourPerRowTakeTwoCellsOf960Each) {
    Desk d;
    d.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    d.ws.addMonitor({1920, 0, 3840, 1080}, {1920, 0, 3840, 1040});
    d.addWindows(6);
    testing_support::LogCapture log;
    d.run();
    ASSERT_EQ(d.table.entries.size(), 2u);
    EXPECT_EQ(d.table.entries[1].columns, 2);
    EXPECT_EQ(d.table.entries[1].cellWidth, 960);
    EXPECT_TRUE(log.containsMessage(L"monitor info 1920 0 3840 1040"));
    const int lefts[6] = {0, 960, 1920, 2880, 0, 960};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(d.at(i).left, lefts[i]) << i;
    EXPECT_EQ(d.at(4).top, 540); // the bottom of the window above
    EXPECT_EQ(d.sizes(), std::vector<int>(6, 960));
}

TEST(AutoSizeMonitors, OnWindows11NeighboursAndRowsOverlapByTwoPixels) {
    Desk d;
    d.ws.windows11 = true;
    d.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    d.ws.addMonitor({1920, 0, 3840, 1080}, {1920, 0, 3840, 1040});
    d.addWindows(5);
    d.run();
    const int lefts[5] = {0, 958, 1916, 2874, 0};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(d.at(i).left, lefts[i]) << i;
    EXPECT_EQ(d.at(4).top, 538);
}

TEST(AutoSizeMonitors, ThreeMonitorsOfDifferentWidthsAndDpiShareColumnsByWidthRoundingUpAfterTheFirst) {
    Desk d;
    d.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96);
    d.ws.addMonitor({1920, 0, 3200, 1024}, {1920, 0, 3200, 984}, 120);
    d.ws.addMonitor({-2560, -200, 0, 1240}, {-2560, -200, 0, 1200}, 144);
    d.settings.rowCount = 6;
    d.addWindows(8);
    d.run();
    // Shares of 6 over 5760 pixels: 2.0, 1.33 and 2.67 columns, giving 2, 2 and 3.
    ASSERT_EQ(d.table.entries.size(), 3u);
    EXPECT_EQ(d.table.entries[0].columns, 2);
    EXPECT_EQ(d.table.entries[1].columns, 2);
    EXPECT_EQ(d.table.entries[2].columns, 3);
    // Columns run on from the first monitor's left edge in enumeration order.
    const int lefts[6] = {0, 960, 1920, 2560, 3200, 4053};
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(d.at(i).left, lefts[i]) << i;
    EXPECT_EQ(d.at(4).top, -200);
    EXPECT_EQ(d.sizes(), (std::vector<int>{960, 960, 640, 640, 853, 853, 960, 960}));
    EXPECT_EQ(d.at(6).top, 540);
}

TEST(AutoSizeMonitors, ColumnsBeyondEveryMonitorGoToTheLastMonitorsTopInEveryRow) {
    Desk d;
    d.ws.addMonitor({0, 0, 1000, 800}, {0, 0, 1000, 800});
    d.ws.addMonitor({1000, 100, 2000, 900}, {1000, 100, 2000, 900});
    d.ws.virtualScreenOverride = {0, 0, 4000, 900}; // one column per monitor for three per row
    d.settings.rowCount = 3;
    d.addWindows(6);
    d.run();
    EXPECT_EQ(d.at(2).left, 2000);
    EXPECT_EQ(d.at(2).top, 100);
    EXPECT_EQ(d.at(5).top, 100);
    EXPECT_EQ(d.at(4).top, d.at(1).bottom);
}

TEST(AutoSizeMonitors, TwoPerRowPutsOneColumnOnEachMonitor) {
    Desk d;
    d.ws.addMonitor({0, 0, 2560, 1440}, {0, 0, 2560, 1400});
    d.ws.addMonitor({2560, 0, 3840, 1024}, {2560, 0, 3840, 984});
    d.settings.rowCount = 2;
    d.addWindows(2);
    d.run();
    EXPECT_EQ(d.at(1).left, 2560);
    EXPECT_EQ(d.sizes(), (std::vector<int>{2560, 1280}));
}

TEST(AutoSizeMonitors, CoordinatesWrapInSixteenBits) {
    Desk d;
    d.ws.addMonitor({30000, 0, 31920, 1080}, {30000, 0, 31920, 1040});
    d.ws.addMonitor({31920, 0, 33840, 1080}, {31920, 0, 33840, 1040});
    d.addWindows(4);
    d.run();
    EXPECT_EQ(d.at(2).left, 31920);
    EXPECT_EQ(d.at(3).left, 32880 - 65536);
}

TEST(AutoSizeMonitors, ACellWithNoWidthEndsTheArrangementThere) {
    Desk d;
    d.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    d.ws.addMonitor({1920, 0, 1921, 1080}, {1920, 0, 1921, 1040});
    d.addWindows(4);
    testing_support::LogCapture log;
    d.run();
    EXPECT_TRUE(log.containsMessage(L"no width"));
    EXPECT_EQ(d.ws.messages().size(), 2u);
    EXPECT_EQ(d.at(2), (Rect{0, 0, 640, 360}));
}

TEST(AutoSizeMonitors, SameMonitorSettingOrASingleMonitorKeepsTheSingleMonitorLayout) {
    Desk d;
    d.settings.sameMonitor = true;
    d.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    d.ws.addMonitor({1920, 0, 3840, 1080}, {1920, 0, 3840, 1040});
    d.addWindows(4);
    d.run();
    EXPECT_TRUE(d.table.entries.empty());
    EXPECT_EQ(d.sizes(), std::vector<int>(4, 480));

    Desk single;
    single.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    single.addWindows(4);
    single.run();
    EXPECT_TRUE(single.table.entries.empty());
}
