#include <gtest/gtest.h>

#include "support/ArrangeDesk.h"
#include "support/LogCapture.h"

using geometry::Rect;
using testing_support::ArrangeDesk;
using Call = testing_support::FakeWindowSystem::Call;

namespace {

// Windows of 320 × 180, ten pixels apart, on one full-HD monitor; `perRow` 0 keeps the cascade.
struct FixedDesk : ArrangeDesk {
    explicit FixedDesk(int count, int perRow = 4) : ArrangeDesk(1) {
        addWindows(count, {0, 0, 320, 180}, 10);
        settings.autoSize = false;
        settings.rowCount = perRow;
    }
};

} // namespace

TEST(Cascade, WithoutStoredOriginAndOffsetStepsFortyPixelsFromTheCornerKeepingSizes) {
    FixedDesk d(3);
    d.settings.alignType = 1;
    d.run();
    EXPECT_EQ(d.at(0), (Rect{0, 0, 320, 180}));
    EXPECT_EQ(d.at(1), (Rect{40, 40, 360, 220}));
    EXPECT_EQ(d.at(2), (Rect{80, 80, 400, 260}));
    EXPECT_TRUE(d.ws.messages().empty());
}

TEST(Cascade, UsesTheStoredOriginAndStepEvenWithNoWindowsPerRow) {
    FixedDesk d(2, 0);
    d.settings.alignType = 1;
    d.settings.origin = {200, 10};
    d.settings.offset = {-30, 25};
    d.run();
    EXPECT_EQ(d.at(0).left, 200);
    EXPECT_EQ(d.at(1), (Rect{170, 35, 490, 215}));
}

TEST(FixedGrid, SixWindowsFourPerRowFillTheWorkAreaInEqualStepsBehindTheMainWindow) {
    FixedDesk d(6);
    testing_support::LogCapture log;
    d.run();
    EXPECT_EQ(d.lefts(), (std::vector<int>{0, 480, 960, 1440, 0, 480}));
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(d.at(i).top, i < 4 ? 0 : 520) << i;
        EXPECT_EQ(d.at(i).width(), 320) << i;
    }
    for (const auto& c : d.ws.calls()) {
        if (c.kind == Call::Place) {
            EXPECT_EQ(c.behind, d.main);
        }
    }
    EXPECT_TRUE(log.containsMessage(L"monitor number is 1  "));
    EXPECT_TRUE(d.ws.messages().empty());
}

TEST(FixedGrid, OverSeveralMonitorsStepsOverTheVirtualScreenFromTheLeftmostEdgeAndLowestTop) {
    FixedDesk d(6), same(6);
    for (ArrangeDesk* desk : {&d, &same}) desk->ws.addMonitor({-1280, 200, 0, 1224}, {-1280, 200, 0, 1184}, 96);
    d.settings.sameMonitor = false;
    d.run();
    // Virtual screen -1280..1920 × 0..1224: steps 800 and 612.
    EXPECT_EQ(d.at(0).left, -1280);
    EXPECT_EQ(d.at(0).top, 200);
    EXPECT_EQ(d.at(3).left, 1120);
    EXPECT_EQ(d.at(5).left, -480);
    EXPECT_EQ(d.at(5).top, 812);

    same.run();
    EXPECT_EQ(same.at(5).left, 480);
    EXPECT_EQ(same.at(5).top, 520);
}

TEST(FixedGrid, ZeroOrNegativeWindowsPerRowMovesNothing) {
    for (int perRow : {0, -3}) {
        FixedDesk d(3, perRow);
        d.run();
        d.settings.autoSize = true;
        d.run();
        EXPECT_TRUE(d.ws.calls().empty()) << perRow;
    }
}

TEST(FixedGrid, AMinimisedWindowIsRestoredThenBroughtToFrontThenPlaced) {
    FixedDesk d(2);
    d.ws.minimize(d.windows[1]);
    d.run();
    EXPECT_FALSE(d.ws.minimized(d.windows[1]));
    EXPECT_EQ(d.at(1), (Rect{480, 0, 800, 180}));
    std::vector<Call::Kind> kinds;
    for (const auto& c : d.ws.calls())
        if (c.window == d.windows[1]) kinds.push_back(c.kind);
    EXPECT_EQ(kinds, (std::vector<Call::Kind>{Call::Restore, Call::Front, Call::Place}));
}
