#include "core/storage/WorkerTasks.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/LogCapture.h"

// Shutdown relies on this: when stopAndWait returns, no task of ours runs any more, and none can start.
TEST(WorkerTasks, StopAndWaitAsksRunningTasksToEndJoinsThemAndRefusesNewOnes) {
    common::WorkerTasks tasks;
    testing_support::LogCapture log;
    std::atomic<bool> started{false}, ended{false}, ranLate{false};
    tasks.run([&] {
        started = true;
        while (!tasks.stopRequested()) std::this_thread::yield();
        ended = true;
    });
    while (!started) std::this_thread::yield();

    tasks.stopAndWait();
    EXPECT_TRUE(ended.load()) << "returned before the running task ended";

    tasks.run([&] { ranLate = true; });
    tasks.waitAll();
    EXPECT_FALSE(ranLate.load());
    EXPECT_TRUE(log.containsPart(L"worker task dropped: the program is shutting down"));
}
