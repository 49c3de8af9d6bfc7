// The dispatcher on the real Windows message loop: hidden message window, message 8888, window timers.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "app/UiRuntime_win.h"
#include "core/dispatch/Dispatcher.h"
#include "platform/win32/dispatch/MessagePump_win.h"
#include "platform/win32/dispatch/MessageWindowHost_win.h"
#include "support/CountingRunable.h"

using common::Dispatcher;
using platform::win32::MessageWindowHost;
using platform::win32::pumpMessagesUntil;
using testing_support::CountingRunable;
using testing_support::TaskCounters;
using namespace std::chrono_literals;

TEST(DispatcherOnWindows, HiddenWindowIsAMessageOnlyStaticWindow) {
    MessageWindowHost host;
    ASSERT_TRUE(host.valid());
    wchar_t cls[32] = {};
    GetClassNameW(host.window(), cls, 32);
    EXPECT_STREQ(cls, L"Static");
    EXPECT_NE(GetAncestor(host.window(), GA_PARENT), GetDesktopWindow()) << "a message-only window has no desktop";
    EXPECT_FALSE(IsWindowVisible(host.window()));
}

TEST(DispatcherOnWindows, TasksPostedFromWorkerThreadsRunOnTheUiThreadInEachThreadsOrder) {
    MessageWindowHost host;
    Dispatcher dispatcher(host);
    const DWORD ui = GetCurrentThreadId();
    std::vector<std::vector<int>> seen(4);
    std::atomic<int> offThread{0};
    int ran = 0;
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < 250; ++i) {
                dispatcher.postToUiThread([&, t, i] {
                    if (GetCurrentThreadId() != ui) ++offThread;
                    seen[static_cast<std::size_t>(t)].push_back(i);
                    ++ran;
                });
            }
        });
    }
    for (auto& w : workers) w.join();
    ASSERT_TRUE(pumpMessagesUntil([&] { return ran == 1000; }, 20s));
    EXPECT_EQ(offThread, 0);
    for (const auto& s : seen) {
        ASSERT_EQ(s.size(), 250u);
        for (int i = 0; i < 250; ++i) EXPECT_EQ(s[static_cast<std::size_t>(i)], i);
    }
}

TEST(DispatcherOnWindows, WindowTimersFireRepeatingUntilKilledOneShotOnce) {
    MessageWindowHost host;
    Dispatcher dispatcher(host);
    TaskCounters once, repeat;
    dispatcher.createTimer(10, new CountingRunable(once), false);
    const auto repeating = dispatcher.createTimer(10, new CountingRunable(repeat), true);
    ASSERT_TRUE(pumpMessagesUntil([&] { return repeat.runs >= 10; }, 20s));
    EXPECT_EQ(once.runs, 1);
    EXPECT_EQ(once.releases, 1);
    dispatcher.killTimer(repeating);
    const int after = repeat.runs;
    bool sentinel = false;
    dispatcher.createTimer(50, new common::FunctionRunable([&] { sentinel = true; }), false);
    ASSERT_TRUE(pumpMessagesUntil([&] { return sentinel; }, 10s));
    EXPECT_EQ(repeat.runs, after);
    EXPECT_EQ(repeat.releases, 1);
}

TEST(DispatcherOnWindows, DestructionFreesQueuedTasksAndTimersWithoutRunningThem) {
    TaskCounters counters;
    {
        MessageWindowHost host;
        Dispatcher dispatcher(host);
        for (int i = 0; i < 5; ++i) dispatcher.post(0x10, new CountingRunable(counters));
        dispatcher.createTimer(10, new CountingRunable(counters), true);
    }
    EXPECT_EQ(counters.runs, 0);
    EXPECT_EQ(counters.releases, 6);
}

TEST(DispatcherOnWindows, StartUpRuntimeInstallsTheProcessWideDispatcher) {
    ASSERT_TRUE(app::installLogAndDispatcher());
    std::atomic<bool> ran{false};
    std::thread([&] { common::dispatch::postToUiThread([&] { ran = true; }); }).join();
    int ticks = 0;
    common::TimerHandle timer;
    ASSERT_TRUE(timer.start(10, [&] { ++ticks; }));
    EXPECT_TRUE(pumpMessagesUntil([&] { return ran && ticks >= 3; }, 10s));
    timer.stop();
    app::removeLogAndDispatcher();
    EXPECT_FALSE(common::dispatch::postToUiThread([] {}));
}
