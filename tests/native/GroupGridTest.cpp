#include "ui/groupcontrol/GroupGrid.h"

#include <gtest/gtest.h>

#include <string>

using namespace groupcontrol;

namespace {

const FrameMetrics kLine2 = metricsFor(2, 1.0); // T 40, B 36

struct GridCase {
    const char* what;
    int width, height, count;
    bool landscape;
    int refW, refH;
    std::optional<int> fixed;
    int cellW, cellH, cols;
    std::optional<int> stored;
};

} // namespace

TEST(GroupGrid, MetricsScaleWithTheDisplayAndAndroid14HasTheTallerTitle) {
    EXPECT_EQ(kLine2.toolWidth, 40);
    EXPECT_EQ(kLine2.titleHeight, 36);
    EXPECT_EQ(kLine2.captionOffset, 34);
    const FrameMetrics big = metricsFor(4, 1.5);
    EXPECT_EQ(big.toolWidth, 60);
    EXPECT_EQ(big.titleHeight, 60);
    EXPECT_EQ(big.captionOffset, 51);
    EXPECT_EQ(metricsFor(0, 1.25).titleHeight, 45);
}

TEST(GroupGrid, FixedColumnsOnlyWhenAutomaticSortingIsStoredOff) {
    EXPECT_EQ(fixedColumnsFrom(false, 3), std::nullopt);
    EXPECT_EQ(fixedColumnsFrom(true, 3), 3);
    EXPECT_EQ(fixedColumnsFrom(true, std::nullopt), 4);
    EXPECT_EQ(fixedColumnsFrom(true, 0), 4);
    EXPECT_EQ(fixedColumnsFrom(true, 101), 4);
    EXPECT_EQ(fixedColumnsFrom(true, 100), 100);
}

TEST(GroupGrid, ColumnsAndCellsOfTheWorkedLayouts) {
    const GridCase cases[] = {
        {"4 upright instances in 1600x900 take one row of 4", 1600, 900, 4, false, 720, 1280, {}, 397, 670, 4, 320},
        {"fixed 3 columns, upright", 1600, 900, 4, false, 720, 1280, 3, 530, 907, 3, {}},
        {"fixed 3 columns, lying", 1600, 900, 4, true, 1280, 720, 3, 530, 311, 3, {}},
        {"4 lying instances fit in 3 columns of 2 rows", 1600, 900, 4, true, 1280, 720, {}, 530, 311, 3, 311},
        {"one lying instance fills the width", 1600, 900, 1, true, 1280, 720, {}, 1594, 910, 1, 910},
        {"nothing fits a flat frame: one row of all", 400, 100, 2, true, 1280, 720, {}, 196, 123, 2, 123},
        {"nothing upright fits a flat frame: one row of all", 400, 100, 2, false, 720, 1280, {}, 55, 64, 2, 320},
        {"a missing reference resolution is 1280x720", 1600, 900, 4, true, 0, 0, {}, 530, 311, 3, 311},
        {"no players: one column", 1600, 900, 0, true, 1280, 720, {}, 0, 0, 1, {}},
    };
    for (const GridCase& c : cases) {
        const Grid g = computeGrid({c.width, c.height, c.count, c.landscape, c.refW, c.refH, c.fixed, kLine2});
        EXPECT_EQ(g.cellWidth, c.cellW) << c.what;
        EXPECT_EQ(g.cellHeight, c.cellH) << c.what;
        EXPECT_EQ(g.columns, c.cols) << c.what;
        EXPECT_EQ(g.storedCellHeight, c.stored) << c.what;
    }
}

TEST(GroupGrid, TileHeightsTurnTheDisplayWhenItsOrientationIsNotTheFrames) {
    EXPECT_EQ(tileHeight(397, 720, 1280, false, kLine2), 634 + 36);
    EXPECT_EQ(tileHeight(397, 1280, 720, false, kLine2), 634 + 36) << "a lying one in an upright frame, turned";
    EXPECT_EQ(tileHeight(530, 1280, 720, true, kLine2), 275 + 36);
    EXPECT_EQ(tileHeight(530, 720, 1280, true, kLine2), 275 + 36);
    EXPECT_EQ(tileHeight(530, 0, 0, true, kLine2), 275 + 36) << "no resolution counts as 1280x720";
}

TEST(GroupGrid, PlaceOrdersOfTheFourOrientationPairs) {
    struct Case {
        bool frameLandscape, playerLandscape;
        int cw, ch;
        std::uint32_t message;
        int x, y, size;
        std::wstring log;
    } cases[] = {
        {true, false, 530, 311, 13001, 170, 2, 311, L"1111 left:%d top:%d"},
        {true, true, 530, 311, 13000, 2, 2, 530, L"2222 left:%d top:%d"},
        {false, true, 397, 670, 13000, 2, 219, 397, L"33333 left:%d top:%d"},
        {false, false, 397, 670, 13000, 2, 2, 397, L"444444 left:%d top:%d"},
    };
    for (const Case& c : cases) {
        const PlaceOrder o =
            calcPlayerItemPos(2, 2, c.cw, c.ch, c.frameLandscape, c.playerLandscape, 720, 1280, kLine2);
        EXPECT_EQ(o.message, c.message) << c.log;
        EXPECT_EQ(o.x, c.x) << c.log;
        EXPECT_EQ(o.y, c.y) << c.log;
        EXPECT_EQ(o.size, c.size) << c.log;
        EXPECT_EQ(std::wstring(o.logFormat), c.log);
    }
}

TEST(GroupGrid, ALeavingInstanceGoesBackWhereItWas) {
    EXPECT_EQ(restorePlacement({10, 20, 0, true}, true, 900), std::nullopt) << "nothing saved";
    auto same = restorePlacement({10, 20, 400, true}, true, 900);
    ASSERT_TRUE(same);
    EXPECT_EQ(same->message, 13000u);
    EXPECT_EQ(same->x, 10);
    EXPECT_EQ(same->y, 20);
    EXPECT_EQ(same->size, 400);

    auto turned = restorePlacement({-30, 20, 400, true}, false, 900);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->message, 13001u) << "turned meanwhile: its old width becomes its height";
    EXPECT_EQ(turned->x, 0) << "negative coordinates are sent as 0";
    EXPECT_EQ(turned->size, 400);

    auto tooTall = restorePlacement({100, 300, 1000, true}, false, 900);
    ASSERT_TRUE(tooTall);
    EXPECT_EQ(tooTall->size, 840);
    EXPECT_EQ(tooTall->y, 10);
}

TEST(GroupGrid, TheFirstFrameIsCentredAndShrinksOnSmallScreens) {
    EXPECT_EQ(initialFrameRect({0, 0, 1920, 1040}), (geometry::Rect{160, 70, 1760, 970}));
    EXPECT_EQ(initialFrameRect({0, 0, 1600, 900}), (geometry::Rect{60, 40, 1540, 860}));
    EXPECT_EQ(initialFrameRect({1920, 0, 3286, 728}), (geometry::Rect{1980, 40, 3226, 688}));
    EXPECT_EQ(minimumTrackSize(true, 311), (geometry::Size{960, 351}));
    EXPECT_EQ(minimumTrackSize(false, 320), (geometry::Size{540, 360}));
}
