#include "core/dispatch/EventLoop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "core/dispatch/Dispatcher.h"
#include "support/ManualClock.h"

using common::Dispatcher;
using common::EventLoop;
using namespace std::chrono_literals;

TEST(EventLoop, RunReturnsWhenATaskQuits) {
    EventLoop loop;
    Dispatcher dispatcher(loop);
    int ticks = 0;
    dispatcher.createTimer(5, new common::FunctionRunable([&] {
                               if (++ticks == 3) loop.quit();
                           }),
                           true);
    std::thread([&] { dispatcher.postToUiThread([] {}); }).join();
    loop.run(); // real clock: three 5 ms ticks
    EXPECT_EQ(ticks, 3);
}

TEST(EventLoop, RepeatingTimerThatFellBehindTicksOnce) {
    testing_support::ManualClock clock;
    EventLoop loop(clock.function());
    Dispatcher dispatcher(loop);
    int ticks = 0;
    dispatcher.createTimer(100, new common::FunctionRunable([&] { ++ticks; }), true);
    clock.advance(1000ms);
    loop.runPending();
    EXPECT_EQ(ticks, 1);
    clock.advance(99ms);
    loop.runPending();
    EXPECT_EQ(ticks, 1);
    clock.advance(1ms);
    loop.runPending();
    EXPECT_EQ(ticks, 2);
}

TEST(EventLoop, TasksRunBeforeTimersThatBecameDueWithThem) {
    testing_support::ManualClock clock;
    EventLoop loop(clock.function());
    Dispatcher dispatcher(loop);
    std::vector<char> order;
    dispatcher.createTimer(10, new common::FunctionRunable([&] { order.push_back('t'); }), false);
    clock.advance(10ms);
    dispatcher.postToUiThread([&] { order.push_back('p'); });
    loop.runPending();
    EXPECT_EQ(order, (std::vector<char>{'p', 't'}));
}

TEST(EventLoop, RunUntilGivesUpAfterItsTimeout) {
    EventLoop loop;
    EXPECT_FALSE(loop.runUntil([] { return false; }, 20ms));
}
