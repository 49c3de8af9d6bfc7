#include "core/dispatch/Dispatcher.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/dispatch/EventLoop.h"
#include "support/CountingRunable.h"
#include "support/ManualClock.h"

using common::Dispatcher;
using common::EventLoop;
using testing_support::CountingRunable;
using testing_support::ManualClock;
using testing_support::TaskCounters;
using namespace std::chrono_literals;

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    ManualClock clock;
    EventLoop loop{clock.function()};
    Dispatcher dispatcher{loop};
    TaskCounters counters;

    CountingRunable* task(std::function<void()> onRun = {}) { return new CountingRunable(counters, std::move(onRun)); }
    void tick(std::chrono::milliseconds by) {
        clock.advance(by);
        loop.runPending();
    }
};

constexpr common::OwnerKey kWindow = 0x1000;

} // namespace

TEST_F(DispatcherTest, PostedTasksRunOnceAndAreReleased) {
    dispatcher.post(kWindow, task());
    dispatcher.post(kWindow, task());
    EXPECT_EQ(dispatcher.pendingCount(kWindow), 2);
    loop.runPending();
    EXPECT_EQ(counters.runs, 2);
    EXPECT_EQ(counters.releases, 2);
    EXPECT_EQ(dispatcher.pendingCount(kWindow), 0);
}

TEST_F(DispatcherTest, CancelledOwnerDropsQueuedTasksAndRunsTasksPostedAfterwards) {
    dispatcher.post(kWindow, task());
    dispatcher.post(kWindow, task());
    dispatcher.cancel(kWindow);
    loop.runPending();
    EXPECT_EQ(counters.runs, 0);
    EXPECT_EQ(counters.releases, 2);
    EXPECT_EQ(dispatcher.pendingCount(kWindow), -1) << "dropped tasks leave the count alone";

    dispatcher.post(kWindow, task());
    EXPECT_EQ(dispatcher.pendingCount(kWindow), 0);
    loop.runPending();
    EXPECT_EQ(counters.runs, 1);
    EXPECT_EQ(dispatcher.pendingCount(kWindow), -1);
}

TEST_F(DispatcherTest, RetiredOwnerDropsQueuedTasksAndEveryTaskPostedLater) {
    dispatcher.post(kWindow, task());
    dispatcher.retire(kWindow);
    EXPECT_FALSE(dispatcher.post(kWindow, task()));
    loop.runPending();
    dispatcher.post(kWindow, task());
    loop.runPending();
    EXPECT_EQ(counters.runs, 0);
    EXPECT_EQ(counters.releases, 3);
    EXPECT_TRUE(dispatcher.isRetired(kWindow));
    EXPECT_EQ(dispatcher.pendingCount(kWindow), -1);
}

TEST(OwnerKeys, EveryKeyIsNewAndNeverTheProcessKey) {
    const common::OwnerKey first = common::newOwnerKey();
    const common::OwnerKey second = common::newOwnerKey();
    EXPECT_NE(first, second);
    for (common::OwnerKey key : {first, second}) {
        EXPECT_NE(key, 0u);
        EXPECT_NE(key, common::kProcessOwner);
    }
}

TEST_F(DispatcherTest, TaskOfAnOwnerNeverSeenIsReleasedWithoutRunning) {
    dispatcher.cancel(0x2000); // cancelling an unknown owner creates no entry
    dispatcher.deliverTask(0x2000, task());
    EXPECT_EQ(counters.runs, 0);
    EXPECT_EQ(counters.releases, 1);
}

TEST_F(DispatcherTest, PostToUiThreadRunsFunctionsInOrderAndRefusesAnEmptyOne) {
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) dispatcher.postToUiThread([&order, i] { order.push_back(i); });
    EXPECT_FALSE(dispatcher.postToUiThread({}));
    loop.runPending();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST_F(DispatcherTest, TimersAreNumberedFromOneOneShotRunsOnceRepeatingRunsUntilKilled) {
    TaskCounters once, repeat;
    const auto oneShot = dispatcher.createTimer(100, new CountingRunable(once), false);
    const auto repeating = dispatcher.createTimer(100, new CountingRunable(repeat), true);
    EXPECT_EQ(oneShot, 1u);
    EXPECT_EQ(repeating, 2u);
    for (int i = 0; i < 5; ++i) tick(100ms);
    EXPECT_EQ(once.runs, 1);
    EXPECT_EQ(once.releases, 1);
    EXPECT_EQ(repeat.runs, 5);
    dispatcher.killTimer(repeating);
    dispatcher.killTimer(repeating); // unknown now: nothing happens
    dispatcher.killTimer(999);
    tick(500ms);
    EXPECT_EQ(repeat.runs, 5);
    EXPECT_EQ(repeat.releases, 1);
    EXPECT_EQ(dispatcher.timerCount(), 0u);
}

TEST_F(DispatcherTest, TimerKilledFromItsOwnRunIsFreedAfterTheRun) {
    std::uint32_t id = 0;
    id = dispatcher.createTimer(10, task([&] { dispatcher.killTimer(id); }), true);
    tick(10ms);
    tick(10ms);
    EXPECT_EQ(counters.runs, 1);
    EXPECT_EQ(counters.releases, 1);
}

TEST_F(DispatcherTest, DelayedCallsRunOnceAndCancelDelayedKillsTheRest) {
    TaskCounters a, b;
    EXPECT_FALSE(dispatcher.delay(0, 1, 10, task()));
    EXPECT_FALSE(dispatcher.delay(kWindow, 1, 0, task()));
    EXPECT_FALSE(dispatcher.delay(kWindow, 1, -5, task()));
    EXPECT_FALSE(dispatcher.delay(kWindow, 1, 10, nullptr));
    EXPECT_EQ(counters.releases, 3) << "refused tasks are still freed";

    EXPECT_TRUE(dispatcher.delay(kWindow, 1, 10, new CountingRunable(a)));
    EXPECT_TRUE(dispatcher.delay(kWindow, 2, 50, new CountingRunable(b)));
    tick(10ms);
    EXPECT_EQ(a.runs, 1);
    dispatcher.cancelDelayed(kWindow);
    tick(100ms);
    EXPECT_EQ(b.runs, 0);
    EXPECT_EQ(b.releases, 1);
    EXPECT_EQ(dispatcher.timerCount(), 0u);
}

TEST_F(DispatcherTest, DelayingTheSameCallAgainReplacesIt) {
    dispatcher.delay(kWindow, 1, 10, task());
    dispatcher.delay(kWindow, 1, 30, task());
    tick(10ms);
    EXPECT_EQ(counters.runs, 0);
    tick(20ms);
    EXPECT_EQ(counters.runs, 1);
    EXPECT_EQ(counters.releases, 2);
}

TEST_F(DispatcherTest, TimersAreRefusedOffTheUiThreadAndTheirTasksFreed) {
    std::uint32_t id = 1;
    std::thread([&] { id = dispatcher.createTimer(10, task(), true); }).join();
    EXPECT_EQ(id, 0u);
    EXPECT_EQ(counters.releases, 1);
}

TEST(DispatcherLifetime, DestructionStopsTimersAndFreesEveryTask) {
    TaskCounters counters;
    EventLoop loop;
    {
        Dispatcher dispatcher(loop);
        dispatcher.createTimer(10, new CountingRunable(counters), true);
        dispatcher.createTimer(10, new CountingRunable(counters), false);
        dispatcher.post(1, new CountingRunable(counters));
    }
    EXPECT_EQ(counters.runs, 0);
    EXPECT_EQ(counters.releases, 3);
    loop.runPending(); // nothing left to deliver
    EXPECT_EQ(counters.runs, 0);
}

TEST(ProcessDispatcher, WithoutAnInstalledDispatcherPostsAndTimersAreRefused) {
    TaskCounters counters;
    EXPECT_FALSE(common::dispatch::post(1, new CountingRunable(counters)));
    EXPECT_EQ(common::dispatch::createTimer(10, new CountingRunable(counters), true), 0u);
    EXPECT_FALSE(common::dispatch::delay(1, 1, 10, new CountingRunable(counters)));
    EXPECT_FALSE(common::dispatch::postToUiThread([] {}));
    EXPECT_EQ(counters.releases, 3);
    common::TimerHandle handle;
    EXPECT_FALSE(handle.start(10, [] {}));
    EXPECT_FALSE(handle.isActive());
}

TEST(ProcessDispatcher, TimerHandleRefusesZeroIntervalAndStopsItsTimer) {
    ManualClock clock;
    EventLoop loop(clock.function());
    Dispatcher dispatcher(loop);
    common::dispatch::install(&dispatcher);
    int runs = 0;
    {
        common::TimerHandle handle;
        EXPECT_FALSE(handle.start(0, [&] { ++runs; }));
        EXPECT_FALSE(handle.start(100, nullptr));
        EXPECT_TRUE(handle.start(100, [&] { ++runs; }));
        EXPECT_TRUE(handle.isActive());
        clock.advance(100ms);
        loop.runPending();
        EXPECT_EQ(runs, 1);
        handle.stop();
        EXPECT_FALSE(handle.isActive());
        EXPECT_TRUE(handle.start(100, [&] { ++runs; }));
    } // destroyed while active: stopped
    clock.advance(500ms);
    loop.runPending();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(dispatcher.timerCount(), 0u);
    EXPECT_EQ(common::dispatch::uninstall(), &dispatcher);
}

TEST(ProcessDispatcher, WorkerThreadsPostConcurrentlyAndEveryTaskRunsOnTheUiThreadInItsThreadsOrder) {
    EventLoop loop;
    Dispatcher dispatcher(loop);
    common::dispatch::install(&dispatcher);
    const auto ui = std::this_thread::get_id();
    std::vector<std::vector<int>> seen(4); // written on the UI thread only
    int ran = 0;
    std::atomic<int> offThread{0};
    std::vector<std::thread> workers;
    for (std::size_t t = 0; t < seen.size(); ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) {
                common::dispatch::postToUiThread([&, t, i] {
                    if (std::this_thread::get_id() != ui) ++offThread;
                    seen[t].push_back(i);
                    ++ran;
                });
            }
        });
    }
    for (auto& w : workers) w.join();
    EXPECT_TRUE(loop.runUntil([&] { return ran == 2000; }, 10s));
    EXPECT_EQ(offThread, 0);
    for (const auto& s : seen) {
        ASSERT_EQ(s.size(), 500u);
        for (int i = 0; i < 500; ++i) EXPECT_EQ(s[static_cast<std::size_t>(i)], i);
    }
    common::dispatch::uninstall();
}
