#include <gtest/gtest.h>

#include "core/arrange/Layouts.h"
#include "support/FakeWindowSystem.h"
#include "support/LogCapture.h"

using arrange::ArrangeJob;
using arrange::Rect;
using testing_support::FakeWindowSystem;

namespace {

struct Desk {
    FakeWindowSystem ws;
    arrange::MonitorTable table;
    arrange::WindowHandle main = 0;
    std::vector<arrange::WindowHandle> windows;

    explicit Desk(int count) {
        ws.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
        main = ws.addWindow({100, 100, 900, 700});
        for (int i = 0; i < count; ++i) windows.push_back(ws.addWindow({10 * i, 10 * i, 10 * i + 320, 10 * i + 180}));
    }
    ArrangeJob job(arrange::ArrangeSettings s) const { return {windows, main, s}; }
    arrange::ArrangeSettings grid(int perRow) const {
        arrange::ArrangeSettings s;
        s.autoSize = false;
        s.rowCount = perRow;
        return s;
    }
};

} // namespace

TEST(Cascade, WithoutStoredOriginAndOffsetStepsFortyPixelsFromTheCornerKeepingSizes) {
    Desk d(3);
    arrange::ArrangeSettings s;
    s.alignType = 1;
    arrange::runArrangement(d.ws, d.job(s), d.table);
    EXPECT_EQ(d.ws.rect(d.windows[0]), (Rect{0, 0, 320, 180}));
    EXPECT_EQ(d.ws.rect(d.windows[1]), (Rect{40, 40, 360, 220}));
    EXPECT_EQ(d.ws.rect(d.windows[2]), (Rect{80, 80, 400, 260}));
    EXPECT_TRUE(d.ws.messages().empty());
}

TEST(Cascade, UsesTheStoredOriginAndStepEvenWithNoWindowsPerRow) {
    Desk d(2);
    arrange::ArrangeSettings s;
    s.alignType = 1;
    s.rowCount = 0;
    s.origin = {200, 10};
    s.offset = {-30, 25};
    arrange::runArrangement(d.ws, d.job(s), d.table);
    EXPECT_EQ(d.ws.rect(d.windows[0]).left, 200);
    EXPECT_EQ(d.ws.rect(d.windows[1]), (Rect{170, 35, 490, 215}));
}

TEST(FixedGrid, SixWindowsFourPerRowFillTheWorkAreaInEqualStepsBehindTheMainWindow) {
    Desk d(6);
    testing_support::LogCapture log;
    arrange::runArrangement(d.ws, d.job(d.grid(4)), d.table);
    const int expected[6][2] = {{0, 0}, {480, 0}, {960, 0}, {1440, 0}, {0, 520}, {480, 520}};
    for (int i = 0; i < 6; ++i) {
        const Rect r = d.ws.rect(d.windows[static_cast<std::size_t>(i)]);
        EXPECT_EQ(r.left, expected[i][0]) << i;
        EXPECT_EQ(r.top, expected[i][1]) << i;
        EXPECT_EQ(r.width(), 320) << i;
    }
    for (const auto& c : d.ws.calls()) {
        if (c.kind == FakeWindowSystem::Call::Place) {
            EXPECT_EQ(c.behind, d.main);
        }
    }
    EXPECT_TRUE(log.containsMessage(L"monitor number is 1  "));
    EXPECT_TRUE(d.ws.messages().empty());
}

TEST(FixedGrid, OverSeveralMonitorsStepsOverTheVirtualScreenFromTheLeftmostEdgeAndLowestTop) {
    Desk d(6);
    d.ws.addMonitor({-1280, 200, 0, 1224}, {-1280, 200, 0, 1184}, 96);
    auto s = d.grid(4);
    s.sameMonitor = false;
    arrange::runArrangement(d.ws, d.job(s), d.table);
    // Virtual screen -1280..1920 × 0..1224: steps 800 and 612.
    EXPECT_EQ(d.ws.rect(d.windows[0]).left, -1280);
    EXPECT_EQ(d.ws.rect(d.windows[0]).top, 200);
    EXPECT_EQ(d.ws.rect(d.windows[3]).left, 1120);
    EXPECT_EQ(d.ws.rect(d.windows[5]).left, -480);
    EXPECT_EQ(d.ws.rect(d.windows[5]).top, 812);

    Desk same(6);
    same.ws.addMonitor({-1280, 200, 0, 1224}, {-1280, 200, 0, 1184}, 96);
    arrange::runArrangement(same.ws, same.job(same.grid(4)), same.table);
    EXPECT_EQ(same.ws.rect(same.windows[5]).left, 480);
    EXPECT_EQ(same.ws.rect(same.windows[5]).top, 520);
}

TEST(FixedGrid, ZeroOrNegativeWindowsPerRowMovesNothing) {
    for (int perRow : {0, -3}) {
        Desk d(3);
        arrange::runArrangement(d.ws, d.job(d.grid(perRow)), d.table);
        auto autoSize = d.grid(perRow);
        autoSize.autoSize = true;
        arrange::runArrangement(d.ws, d.job(autoSize), d.table);
        EXPECT_TRUE(d.ws.calls().empty()) << perRow;
    }
}

TEST(FixedGrid, AMinimisedWindowIsRestoredThenBroughtToFrontThenPlaced) {
    Desk d(2);
    d.ws.minimize(d.windows[1]);
    arrange::runArrangement(d.ws, d.job(d.grid(4)), d.table);
    EXPECT_FALSE(d.ws.minimized(d.windows[1]));
    EXPECT_EQ(d.ws.rect(d.windows[1]), (Rect{480, 0, 800, 180}));
    std::vector<FakeWindowSystem::Call::Kind> kinds;
    for (const auto& c : d.ws.calls())
        if (c.window == d.windows[1]) kinds.push_back(c.kind);
    using K = FakeWindowSystem::Call;
    EXPECT_EQ(kinds, (std::vector<FakeWindowSystem::Call::Kind>{K::Restore, K::Front, K::Place}));
}
