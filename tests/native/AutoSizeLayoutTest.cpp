#include <gtest/gtest.h>

#include "support/ArrangeDesk.h"
#include "support/LogCapture.h"

using geometry::Rect;
using testing_support::ArrangeDesk;

// Windows of 16:9 on one full-HD monitor whose work area ends at 1040.

TEST(AutoSizeSingleMonitor, FourPerRowGivesEachWindowAQuarterOfTheWidthByPlaceMessage) {
    ArrangeDesk d(1);
    d.addWindows(4);
    testing_support::LogCapture log;
    d.run();
    EXPECT_EQ(d.lefts(), (std::vector<int>{0, 480, 960, 1440}));
    EXPECT_EQ(d.sizes(), std::vector<int>(4, 480));
    for (const auto& m : d.ws.messages()) {
        EXPECT_EQ(m.message, arrange::kMsgPlaceByWidth);
        EXPECT_EQ(m.y, 0);
    }
    EXPECT_TRUE(log.containsMessage(L"sort_window_autoSize screenWidth : 1920, monitorNumber: 1, fullWidth: 1920"));
    EXPECT_TRUE(log.containsMessage(L"main frame: left 100 top 100 width 800 height 600"));
    EXPECT_TRUE(log.containsMessage(L"real screen width 1920"));
    EXPECT_TRUE(log.containsMessage(L"sore for h"));
    EXPECT_TRUE(log.containsMessage(L"not out. bottom:270 screenHeight:1040"));
}

TEST(AutoSizeSingleMonitor, OnWindows11WindowsOverlapByTwoPixelsUnlessAnOverlapIsStored) {
    ArrangeDesk d(1);
    d.ws.windows11 = true;
    d.addWindows(4);
    d.run();
    EXPECT_EQ(d.lefts(), (std::vector<int>{0, 479, 958, 1437}));
    EXPECT_EQ(d.sizes().front(), 481);

    ArrangeDesk stored(1);
    stored.ws.windows11 = true;
    stored.ws.overlap = {4, 5};
    stored.addWindows(6);
    stored.run();
    // cell (1920 + 3·4) ÷ 4 = 483, columns 4 pixels closer; 16:9 height 271.
    EXPECT_EQ(stored.lefts(), (std::vector<int>{0, 479, 958, 1437, 0, 479}));
    EXPECT_EQ(stored.sizes().front(), 483);
    // The second row starts 5 pixels above the first row's first window's bottom.
    EXPECT_EQ(stored.at(4).top, 271 - 5);
    EXPECT_EQ(stored.at(5).top, 271 - 5);
}

TEST(AutoSizeSingleMonitor, RowsStackOnThePreviousRowsFirstWindowAsItCameOut) {
    ArrangeDesk d(1);
    d.addWindows(5);
    // The first window keeps a squarer aspect: the next row follows its real bottom, not the cell's.
    d.windows[0] = d.ws.addWindow({0, 0, 400, 300}, 4, 3);
    d.run();
    EXPECT_EQ(d.at(0).bottom, 360);
    EXPECT_EQ(d.at(4).top, 360);
}

TEST(AutoSizeSingleMonitor, OnAScaledSecondMonitorTheWidthIsScaledAndRoundedToEven) {
    // Primary at 144 DPI; the main window sits on a 1366-wide monitor at 96 DPI: scale 1.5.
    ArrangeDesk d;
    d.ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144);
    d.ws.addMonitor({1920, 0, 3286, 768}, {1920, 0, 3286, 728}, 96);
    d.main = d.ws.addWindow({2000, 100, 2800, 600});
    d.addWindows(6);
    testing_support::LogCapture log;
    d.run();
    // 1366 · 1.5 = 2049, rounded to 2050; cell 512; x from 1920 · 1.5.
    EXPECT_TRUE(log.containsMessage(L"real screen width 2050"));
    EXPECT_EQ(d.lefts(), (std::vector<int>{2880, 3392, 3904, 4416, 2880, 3392}));
    // Row 2 at (288 + 0) · 1.5.
    EXPECT_EQ(d.at(4).top, 432);
    EXPECT_TRUE(log.containsMessage(L"not out. bottom:720 screenHeight:728"));
}

TEST(FitHeight, RowsRunningOffTheBottomShrinkToThirdsAndAreCentred) {
    ArrangeDesk d(1);
    d.settings.rowCount = 2;
    d.addWindows(6);
    testing_support::LogCapture log;
    d.run();
    EXPECT_TRUE(log.containsMessage(L"fame out off screen!"));
    // Cell height (1040 ÷ 3) + 1 = 347, width 616; the row of 1232 is centred at 344, the second window
    // follows the first's right edge.
    EXPECT_EQ(d.lefts(), (std::vector<int>{344, 960, 344, 960, 344, 960}));
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d.at(i).top, static_cast<int>(i / 2) * 347) << i;
        EXPECT_EQ(d.at(i).height(), 347) << i;
    }
    const auto messages = d.ws.messages();
    ASSERT_EQ(messages.size(), 18u); // six by width, then two passes of six by height
    EXPECT_EQ(messages[6].message, arrange::kMsgPlaceByHeight);
    EXPECT_EQ(messages[6].size, 347);
    EXPECT_EQ(messages[7].x, 960); // first placement: column steps of half the width
}

TEST(FitHeight, StoredOverlapPullsRowsAndColumnsTogether) {
    ArrangeDesk d(1);
    d.ws.overlap = {10, 6};
    d.settings.rowCount = 2;
    d.addWindows(6);
    d.run();
    // Cell height (1040 + 12) ÷ 3 + 1 = 351, width 624; row width 2 · 634 centred at 326; the second column
    // starts 10 pixels into the first window; rows 6 pixels up.
    EXPECT_EQ(d.lefts(), (std::vector<int>{326, 960, 326, 960, 326, 960}));
    for (std::size_t i = 0; i < 6; ++i) EXPECT_EQ(d.at(i).top, (std::vector<int>{0, 345, 690})[i / 2]) << i;
}

TEST(FitHeight, IsSkippedWhenSwitchedOffOrWhenAllWindowsShareOneRow) {
    ArrangeDesk off(1);
    off.settings.rowCount = 2;
    off.settings.fitHeight = false;
    off.addWindows(6);
    off.run();
    EXPECT_EQ(off.ws.messages().size(), 6u);
    EXPECT_EQ(off.at(5).top, 1080);

    ArrangeDesk oneRow;
    oneRow.ws.addMonitor({0, 0, 1920, 200}, {0, 0, 1920, 200}, 96);
    oneRow.addWindows(2);
    testing_support::LogCapture log;
    oneRow.run();
    EXPECT_EQ(oneRow.ws.messages().size(), 2u);
    EXPECT_FALSE(log.containsMessage(L"fame out off screen!"));
}
