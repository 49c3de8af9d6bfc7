#include <gtest/gtest.h>

#include "support/ArrangeDesk.h"
#include "support/LogCapture.h"

using geometry::Rect;
using testing_support::ArrangeDesk;

namespace {

// Windows of 16:9 arranged over every monitor, by default two full-HD ones side by side.
struct MonitorsDesk : ArrangeDesk {
    explicit MonitorsDesk(int fullHdMonitors = 2) : ArrangeDesk(fullHdMonitors) { settings.sameMonitor = false; }
};

} // namespace

TEST(AutoSizeMonitors, TwoFullHdMonitorsFourPerRowTakeTwoCellsOf960Each) {
    MonitorsDesk d;
    d.addWindows(6);
    testing_support::LogCapture log;
    d.run();
    ASSERT_EQ(d.table.entries.size(), 2u);
    EXPECT_EQ(d.table.entries[1].columns, 2);
    EXPECT_EQ(d.table.entries[1].cellWidth, 960);
    EXPECT_TRUE(log.containsMessage(L"monitor info 1920 0 3840 1040"));
    EXPECT_EQ(d.lefts(), (std::vector<int>{0, 960, 1920, 2880, 0, 960}));
    EXPECT_EQ(d.at(4).top, 540); // the bottom of the window above
    EXPECT_EQ(d.sizes(), std::vector<int>(6, 960));
}

TEST(AutoSizeMonitors, OnWindows11NeighboursAndRowsOverlapByTwoPixels) {
    MonitorsDesk d;
    d.ws.windows11 = true;
    d.addWindows(5);
    d.run();
    EXPECT_EQ(d.lefts(), (std::vector<int>{0, 958, 1916, 2874, 0}));
    EXPECT_EQ(d.at(4).top, 538);
}

TEST(AutoSizeMonitors, ThreeMonitorsOfDifferentWidthsAndDpiShareColumnsByWidthRoundingUpAfterTheFirst) {
    MonitorsDesk d(1);
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
    EXPECT_EQ(d.lefts(), (std::vector<int>{0, 960, 1920, 2560, 3200, 4053, 0, 960}));
    EXPECT_EQ(d.at(4).top, -200);
    EXPECT_EQ(d.sizes(), (std::vector<int>{960, 960, 640, 640, 853, 853, 960, 960}));
    EXPECT_EQ(d.at(6).top, 540);
}

TEST(AutoSizeMonitors, ColumnsBeyondEveryMonitorGoToTheLastMonitorsTopInEveryRow) {
    MonitorsDesk d(0);
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

TEST(AutoSizeMonitors, CoordinatesWrapInSixteenBits) {
    MonitorsDesk d(0);
    d.ws.addMonitor({30000, 0, 31920, 1080}, {30000, 0, 31920, 1040});
    d.ws.addMonitor({31920, 0, 33840, 1080}, {31920, 0, 33840, 1040});
    d.addWindows(4);
    d.run();
    EXPECT_EQ(d.at(2).left, 31920);
    EXPECT_EQ(d.at(3).left, 32880 - 65536);
}

TEST(AutoSizeMonitors, ACellWithNoWidthEndsTheArrangementThere) {
    MonitorsDesk d(1);
    d.ws.addMonitor({1920, 0, 1921, 1080}, {1920, 0, 1921, 1040});
    d.addWindows(4);
    testing_support::LogCapture log;
    d.run();
    EXPECT_TRUE(log.containsMessage(L"no width"));
    EXPECT_EQ(d.ws.messages().size(), 2u);
    EXPECT_EQ(d.at(2), (Rect{0, 0, 640, 360}));
}

TEST(AutoSizeMonitors, SameMonitorSettingOrASingleMonitorKeepsTheSingleMonitorLayout) {
    MonitorsDesk d, single(1);
    d.settings.sameMonitor = true;
    for (MonitorsDesk* desk : {&d, &single}) {
        desk->addWindows(4);
        desk->run();
        EXPECT_TRUE(desk->table.entries.empty());
    }
    EXPECT_EQ(d.sizes(), std::vector<int>(4, 480));
}
