#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <thread>

#include "core/arrange/WindowArranger.h"
#include "support/ArrangeDesk.h"
#include "support/TempDir.h"

using arrange::ArrangeTarget;
using geometry::Rect;

namespace {

// The shared desk with `count` windows of 640 × 360 and the main window.
struct Desk : testing_support::ArrangeDesk {
    explicit Desk(int count, int monitors = 1) : ArrangeDesk(monitors) { addWindows(count); }
    std::vector<ArrangeTarget> targets() const {
        std::vector<ArrangeTarget> t;
        for (std::size_t i = 0; i < windows.size(); ++i) t.push_back({static_cast<std::int32_t>(i), windows[i]});
        return t;
    }
};

arrange::ArrangeSettings cascadeSettings() {
    arrange::ArrangeSettings s;
    s.alignType = 1;
    return s;
}

} // namespace

TEST(ArrangeSettings, MissingKeysGiveAutoSizeFourPerRowAndTheCascadeDefaults) {
    common::GlobalSettings none;
    const auto s = arrange::readArrangeSettings(none);
    EXPECT_EQ(s.layout(), arrange::Layout::AutoSize);
    EXPECT_EQ(s.rowCount, 4);
    EXPECT_EQ(s.offset, (common::Point{40, 40}));
    EXPECT_TRUE(s.fitHeight);
    EXPECT_TRUE(s.sameMonitor);
}

TEST(ArrangeSettings, StoredKeysChooseTheLayout) {
    testing_support::TempDir dir;
    testing_support::writeFile(dir / "vms" / "config" / "vantors.config",
                               R"({"windowsAlignType": 1, "windowsOrigin": {"x": 5, "y": 6}, "windowsAutoSize": false,
              "windowsRowCount": 3, "sortwndnotoutscreen": false, "moreScreenSortInSame": false})");
    common::GlobalSettings stored;
    stored.load(dir.path());
    auto s = arrange::readArrangeSettings(stored);
    EXPECT_EQ(s.layout(), arrange::Layout::Cascade);
    EXPECT_EQ(s.origin, (common::Point{5, 6}));
    EXPECT_EQ(s.rowCount, 3);
    EXPECT_FALSE(s.fitHeight);
    EXPECT_FALSE(s.sameMonitor);
    s.alignType = 2;
    EXPECT_EQ(s.layout(), arrange::Layout::FixedGrid);
}

TEST(WindowArranger, SkipsInstancesWithoutAWindowAndLaysOutTheRestInListOrderOffTheCallingThread) {
    Desk d(2);
    std::atomic<bool> onCaller{false};
    const auto caller = std::this_thread::get_id();
    d.ws.onPlaceMessage = [&](platform::WindowHandle) { onCaller = onCaller || std::this_thread::get_id() == caller; };
    arrange::WindowArranger arranger(d.ws);
    arranger.arrange({{7, d.windows[1]}, {8, 0}, {9, d.windows[0]}}, d.main, arrange::ArrangeSettings{});
    arranger.waitIdle();
    EXPECT_EQ(d.ws.rect(d.windows[1]).left, 0);
    EXPECT_EQ(d.ws.rect(d.windows[0]).left, 480);
    EXPECT_EQ(d.ws.messages().size(), 2u);
    EXPECT_FALSE(onCaller);
}

TEST(WindowArranger, RecordsEveryWindowsRestoredRectangleBeforeArrangingReplacingTheLastRecord) {
    Desk d(2);
    d.ws.minimize(d.windows[0]);
    arrange::WindowArranger arranger(d.ws);
    arranger.arrange(d.targets(), d.main, cascadeSettings());
    auto record = arranger.normalPlacements();
    ASSERT_EQ(record.size(), 2u);
    EXPECT_EQ(record[0].window, d.windows[0]);
    EXPECT_EQ(record[0].rect, (Rect{0, 0, 640, 360}));
    arranger.waitIdle();
    EXPECT_EQ(d.ws.rect(d.windows[1]), (Rect{40, 40, 680, 400}));

    arranger.arrange({{1, d.windows[1]}}, d.main, cascadeSettings());
    arranger.waitIdle();
    record = arranger.normalPlacements();
    ASSERT_EQ(record.size(), 1u);
    EXPECT_EQ(record[0].rect, (Rect{40, 40, 680, 400}));
}

TEST(WindowArranger, NothingHappensWithoutWindows) {
    Desk d(2);
    arrange::WindowArranger arranger(d.ws);
    arranger.arrange({{1, 0}, {2, 0}}, d.main, cascadeSettings());
    arranger.waitIdle();
    EXPECT_TRUE(d.ws.calls().empty());
}

// The first arrangement holds its first place message until the second has been taken by a worker and has
// had every chance to start; sharing the monitor table, the second must still wait for the first to end.
TEST(WindowArranger, TwoSeveralMonitorArrangementsRunOneAfterTheOther) {
    Desk d(8, 2);
    arrange::ArrangeSettings spread;
    spread.sameMonitor = false;
    const std::vector<platform::WindowHandle> first(d.windows.begin(), d.windows.begin() + 4);
    const std::vector<platform::WindowHandle> second(d.windows.begin() + 4, d.windows.end());
    auto isSecond = [&](platform::WindowHandle w) {
        return std::find(second.begin(), second.end(), w) != second.end();
    };

    arrange::WindowArranger arranger(d.ws, 2);
    std::mutex m;
    std::condition_variable cv;
    bool held = false;
    bool secondStarted = false;
    d.ws.onPlaceMessage = [&](platform::WindowHandle w) {
        std::unique_lock lock(m);
        if (isSecond(w)) {
            secondStarted = true;
            cv.notify_all();
        } else if (!held) {
            held = true;
            cv.notify_all();
            // Until the second is running: taken by the other worker, or already placing windows.
            while (!secondStarted && arranger.running() < 2) {
                lock.unlock();
                std::this_thread::yield();
                lock.lock();
            }
            cv.wait_for(lock, std::chrono::milliseconds(500), [&] { return secondStarted; });
        }
    };
    std::vector<ArrangeTarget> a, b;
    for (auto w : first) a.push_back({0, w});
    for (auto w : second) b.push_back({0, w});
    arranger.arrange(a, d.main, spread);
    {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return held; });
    }
    arranger.arrange(b, d.main, spread);
    arranger.waitIdle();

    const auto calls = d.ws.calls();
    std::size_t lastOfFirst = 0;
    std::size_t firstOfSecond = calls.size();
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (isSecond(calls[i].window))
            firstOfSecond = std::min(firstOfSecond, i);
        else
            lastOfFirst = i;
    }
    EXPECT_LT(lastOfFirst, firstOfSecond);
    EXPECT_EQ(d.ws.messages().size(), 8u);
}
