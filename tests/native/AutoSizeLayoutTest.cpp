#include <gtest/gtest.h>

#include "core/arrange/Layouts.h"
#include "support/FakeWindowSystem.h"
#include "support/LogCapture.h"

using arrange::Rect;
using testing_support::FakeWindowSystem;

namespace {

// Windows of 16:9 on a 1920 × 1080 primary monitor whose work area ends at 1040.
struct Desk {
    FakeWindowSystem ws;
    arrange::MonitorTable table;
    arrange::WindowHandle main = 0;
    std::vector<arrange::WindowHandle> windows;
    arrange::ArrangeSettings settings;

    explicit Desk(bool standardMonitor = true) {
        if (standardMonitor) ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 96);
    }
    void addWindows(int count) {
        if (main == 0) main = ws.addWindow({100, 100, 900, 700});
        for (int i = 0; i < count; ++i) windows.push_back(ws.addWindow({0, 0, 640, 360}));
    }
    void run() { arrange::runArrangement(ws, {windows, main, settings}, table); }
    Rect at(std::size_t i) const { return ws.rect(windows[i]); }
};

std::vector<int> lefts(const Desk& d) {
    std::vector<int> v;
    for (std::size_t i = 0; i < d.windows.size(); ++i) v.push_back(d.at(i).left);
    return v;
}

} // namespace

TEST(AutoSizeSingleMonitor, FourPerRowGivesEachWindowAQuarterOfTheWidthByPlaceMessage) {
    Desk d;
    d.addWindows(4);
    testing_support::LogCapture log;
    d.run();
    EXPECT_EQ(lefts(d), (std::vector<int>{0, 480, 960, 1440}));
    for (const auto& m : d.ws.messages()) {
        EXPECT_EQ(m.message, arrange::kMsgPlaceByWidth);
        EXPECT_EQ(m.size, 480);
        EXPECT_EQ(m.y, 0);
    }
    EXPECT_EQ(d.ws.messages().size(), 4u);
    EXPECT_TRUE(log.containsMessage(L"sort_window_autoSize screenWidth : 1920, monitorNumber: 1, fullWidth: 1920"));
    EXPECT_TRUE(log.containsMessage(L"main frame: left 100 top 100 width 800 height 600"));
    EXPECT_TRUE(log.containsMessage(L"real screen width 1920"));
    EXPECT_TRUE(log.containsMessage(L"sore for h"));
    EXPECT_TRUE(log.containsMessage(L"not out. bottom:270 screenHeight:1040"));
}

TEST(AutoSizeSingleMonitor, OnWindows11WindowsOverlapByTwoPixelsUnlessAnOverlapIsStored) {
    Desk d;
    d.ws.windows11 = true;
    d.addWindows(4);
    d.run();
    EXPECT_EQ(lefts(d), (std::vector<int>{0, 479, 958, 1437}));
    EXPECT_EQ(d.ws.messages().front().size, 481);

    Desk stored;
    stored.ws.windows11 = true;
    stored.ws.overlap = {4, 5};
    stored.addWindows(6);
    stored.run();
    // cell (1920 + 3·4) ÷ 4 = 483, columns 4 pixels closer; 16:9 height 271.
    EXPECT_EQ(lefts(stored), (std::vector<int>{0, 479, 958, 1437, 0, 479}));
    EXPECT_EQ(stored.ws.messages().front().size, 483);
    // The second row starts 5 pixels above the first row's first window's bottom.
    EXPECT_EQ(stored.at(4).top, 271 - 5);
    EXPECT_EQ(stored.at(5).top, 271 - 5);
}

TEST(AutoSizeSingleMonitor, RowsStackOnThePreviousRowsFirstWindowAsItCameOut) {
    Desk d;
    d.addWindows(5);
    // The first window keeps a squarer aspect: the next row follows its real bottom, not the cell's.
    d.windows[0] = d.ws.addWindow({0, 0, 400, 300}, 4, 3);
    d.run();
    EXPECT_EQ(d.at(0).bottom, 360);
    EXPECT_EQ(d.at(4).top, 360);
}

TEST(AutoSizeSingleMonitor, OnAScaledSecondMonitorTheWidthIsScaledAndRoundedToEven) {
    // Primary at 144 DPI; the main window sits on a 1366-wide monitor at 96 DPI: scale 1.5.
    Desk d(false);
    FakeWindowSystem& ws = d.ws;
    ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 144);
    ws.addMonitor({1920, 0, 3286, 768}, {1920, 0, 3286, 728}, 96);
    d.main = ws.addWindow({2000, 100, 2800, 600});
    d.addWindows(6);
    testing_support::LogCapture log;
    d.run();
    // 1366 · 1.5 = 2049, rounded to 2050; cell 512; x from 1920 · 1.5.
    EXPECT_TRUE(log.containsMessage(L"real screen width 2050"));
    EXPECT_EQ(lefts(d), (std::vector<int>{2880, 3392, 3904, 4416, 2880, 3392}));
    // Row 2 at (288 + 0) · 1.5.
    EXPECT_EQ(d.at(4).top, 432);
    EXPECT_TRUE(log.containsMessage(L"not out. bottom:720 screenHeight:728"));
}

TEST(FitHeight, RowsRunningOffTheBottomShrinkToThirdsAndAreCentred) {
    Desk d;
    d.settings.rowCount = 2;
    d.addWindows(6);
    testing_support::LogCapture log;
    d.run();
    EXPECT_TRUE(log.containsMessage(L"fame out off screen!"));
    // Cell height (1040 ÷ 3) + 1 = 347, width 616; the row of 1232 is centred at 344, the second window
    // follows the first's right edge.
    for (std::size_t i = 0; i < 6; ++i) {
        const Rect r = d.at(i);
        EXPECT_EQ(r.left, i % 2 == 0 ? 344 : 960) << i;
        EXPECT_EQ(r.top, static_cast<int>(i / 2) * 347) << i;
        EXPECT_EQ(r.height(), 347) << i;
    }
    const auto messages = d.ws.messages();
    ASSERT_EQ(messages.size(), 18u); // six by width, then two passes of six by height
    EXPECT_EQ(messages[6].message, arrange::kMsgPlaceByHeight);
    EXPECT_EQ(messages[6].size, 347);
    EXPECT_EQ(messages[7].x, 960); // first placement: column steps of half the width
}

TEST(FitHeight, StoredOverlapPullsRowsAndColumnsTogether) {
    Desk d;
    d.ws.overlap = {10, 6};
    d.settings.rowCount = 2;
    d.addWindows(6);
    d.run();
    // Cell height (1040 + 12) ÷ 3 + 1 = 351, width 624; row width 2 · 634 centred at 326; the second column
    // starts 10 pixels into the first window; rows 6 pixels up.
    const int tops[3] = {0, 345, 690};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d.at(i).left, i % 2 == 0 ? 326 : 960) << i;
        EXPECT_EQ(d.at(i).top, tops[i / 2]) << i;
    }
}

TEST(FitHeight, IsSkippedWhenSwitchedOffOrWhenAllWindowsShareOneRow) {
    Desk off;
    off.settings.rowCount = 2;
    off.settings.fitHeight = false;
    off.addWindows(6);
    off.run();
    EXPECT_EQ(off.ws.messages().size(), 6u);
    EXPECT_EQ(off.at(5).top, 1080);

    Desk oneRow(false);
    oneRow.ws.addMonitor({0, 0, 1920, 200}, {0, 0, 1920, 200}, 96);
    oneRow.addWindows(2);
    testing_support::LogCapture log;
    oneRow.run();
    EXPECT_EQ(oneRow.ws.messages().size(), 2u);
    EXPECT_FALSE(log.containsMessage(L"fame out off screen!"));
}
