#include "core/ipc/EmulatorWorkerThread.h"

#include <gtest/gtest.h>

#include "support/FakeIpcPlatform.h"
#include "support/LogCapture.h"
#include "support/Recorded.h"

using testing_support::bytes;
using testing_support::FakeIpcPlatform;
using utility::EmulatorStatus;
using utility::EmulatorWorkerThread;

namespace {

constexpr std::uintptr_t kPid = 4242;

struct StatusLog : testing_support::Recorded<EmulatorStatus> {
    utility::EmulatorStatusCallback callback() {
        return [this](int, EmulatorStatus s) { add(s); };
    }
};

class WorkerTest : public ::testing::Test {
protected:
    FakeIpcPlatform platform;
    StatusLog statuses;
    testing_support::LogCapture log;
};

} // namespace

TEST_F(WorkerTest, MessagesOfOneKeyArriveInTheOrderQueuedAndEmptyOnesAreDropped) {
    EmulatorWorkerThread worker(7, statuses.callback(), platform);
    for (int i = 0; i < 200; ++i) {
        worker.push(FakeIpcPlatform::window(kPid), 14000, bytes(std::to_string(i)));
        if (i == 100) worker.push(FakeIpcPlatform::window(kPid), 14000, {});
    }
    ASSERT_TRUE(platform.waitForDeliveries(200));
    const auto got = platform.deliveries();
    ASSERT_EQ(got.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(got[i].payload, std::to_string(i));
    EXPECT_TRUE(statuses.get().empty());
    EXPECT_EQ(testing_support::LogCapture::count("utility::EmulatorWorkerThread::start", L"m_uniIndexEmu:7"), 1);
}

TEST_F(WorkerTest, MoreThan1024PendingAreDroppedByTheNextPushWhichStaysAlone) {
    platform.hangOn(kPid, 1);
    EmulatorWorkerThread worker(1, statuses.callback(), platform);
    worker.push(FakeIpcPlatform::window(kPid), 1, bytes("first"));
    ASSERT_TRUE(platform.waitUntilBlocked(kPid));

    for (int i = 0; i < 1024; ++i) worker.push(FakeIpcPlatform::window(kPid), 2, bytes("old"));
    EXPECT_EQ(worker.queuedCount(), 1024u);
    worker.push(FakeIpcPlatform::window(kPid), 2, bytes("old"));
    EXPECT_EQ(worker.queuedCount(), 1025u) << "1024 pending is not yet too many";
    worker.push(FakeIpcPlatform::window(kPid), 3, bytes("new"));
    EXPECT_EQ(worker.queuedCount(), 1u);
    worker.push(FakeIpcPlatform::window(kPid), 4, bytes("next"));
    EXPECT_EQ(worker.queuedCount(), 2u) << "the queue grows again";

    platform.answer(kPid);
    ASSERT_TRUE(platform.waitForDeliveries(3));
    const auto got = platform.deliveries();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[1].payload, "new");
    EXPECT_EQ(got[2].payload, "next");
}

TEST_F(WorkerTest, AFullBacklogBehindAHungDeliveryGoesOutWholeWithoutAnotherPush) {
    platform.hangOn(kPid, 1);
    EmulatorWorkerThread worker(2, statuses.callback(), platform);
    worker.push(FakeIpcPlatform::window(kPid), 1, bytes("hung"));
    ASSERT_TRUE(platform.waitUntilBlocked(kPid));
    for (int i = 0; i < 1025; ++i) worker.push(FakeIpcPlatform::window(kPid), 2, bytes(std::to_string(i)));
    platform.answer(kPid);
    ASSERT_TRUE(platform.waitForDeliveries(1026)) << "the last of the backlog waits for nothing";
    EXPECT_EQ(platform.deliveries().back().payload, "1024");
}

TEST_F(WorkerTest, ADeliveryIsATimeoutFrom2000MsOnAndOnlyAFinishedOneThatLongIsReported) {
    platform.hangOn(kPid, 14000);
    EmulatorWorkerThread worker(3, statuses.callback(), platform);
    EXPECT_FALSE(worker.isTimeout()) << "idle";
    worker.push(FakeIpcPlatform::window(kPid), 14000, bytes("a"));
    ASSERT_TRUE(platform.waitUntilBlocked(kPid));
    platform.advance(1999);
    EXPECT_FALSE(worker.isTimeout());
    platform.advance(1);
    EXPECT_TRUE(worker.isTimeout());
    EXPECT_TRUE(platform.kills().empty()) << "a rename that hangs is only reported";
    EXPECT_EQ(testing_support::LogCapture::count("utility::EmulatorWorkerThread::isTimeout", L"timespan:2000"), 1);

    platform.answer(kPid);
    ASSERT_TRUE(platform.waitForDeliveries(1));
    worker.push(FakeIpcPlatform::window(kPid), 14000, bytes("b")); // answered at once: nothing reported
    ASSERT_TRUE(platform.waitForDeliveries(2));
    worker.push(FakeIpcPlatform::window(kPid), 14000, bytes("sync")); // the thread finished "b" before this
    ASSERT_TRUE(platform.waitForDeliveries(3));
    EXPECT_EQ(statuses.get(), std::vector<EmulatorStatus>{EmulatorStatus::ResponseTimeout});
}

TEST_F(WorkerTest, AHungCloseRequestGetsTheProcessKilledAndTheWorkerGoesOn) {
    platform.hangOn(kPid, 9222);
    EmulatorWorkerThread worker(5, statuses.callback(), platform);
    worker.push(FakeIpcPlatform::window(kPid), 9222, bytes("5"));
    worker.push(FakeIpcPlatform::window(77), 14000, bytes("after"));
    ASSERT_TRUE(platform.waitUntilBlocked(kPid));
    EXPECT_EQ(testing_support::LogCapture::count("utility::EmulatorWorkerThread::SendMsgThreadProc",
                                                 L"uniIndexEmu:5, msg:9222, pid:4242"),
              1);
    platform.advance(2000);
    EXPECT_TRUE(worker.isTimeout()); // kills, which ends the blocked send
    ASSERT_TRUE(platform.waitForDeliveries(2));
    EXPECT_EQ(platform.kills(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{4242u, 0u}}));
    EXPECT_EQ(platform.deliveries()[1].payload, "after");
    EXPECT_EQ(statuses.get(), std::vector<EmulatorStatus>{EmulatorStatus::ResponseTimeout});
}

// A hung delivery of any message gets its process killed once a close request waits behind it; behind a
// hung rename, another rename only waits.
struct QueuedBehindHang {
    const char* name;
    std::uint32_t queued;
    bool killed;
};
class WorkerBehindHangTest : public WorkerTest, public ::testing::WithParamInterface<QueuedBehindHang> {};

TEST_P(WorkerBehindHangTest, HungRename) {
    platform.hangOn(kPid, 14000);
    EmulatorWorkerThread worker(6, statuses.callback(), platform);
    worker.push(FakeIpcPlatform::window(kPid), 14000, bytes("new name"));
    ASSERT_TRUE(platform.waitUntilBlocked(kPid));
    worker.push(FakeIpcPlatform::window(kPid), GetParam().queued, bytes("6"));
    platform.advance(2000);
    EXPECT_TRUE(worker.isTimeout());
    if (GetParam().killed) {
        ASSERT_TRUE(platform.waitForDeliveries(2)) << "the kill ends the hung send, then the stop goes out";
        EXPECT_EQ(platform.kills(), (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{4242u, 0u}}));
        EXPECT_EQ(platform.deliveries()[1].messageId, GetParam().queued);
    } else {
        EXPECT_TRUE(platform.kills().empty());
        platform.answer(kPid);
        ASSERT_TRUE(platform.waitForDeliveries(2));
    }
}
INSTANTIATE_TEST_SUITE_P(QueuedBehind, WorkerBehindHangTest,
                         ::testing::Values(QueuedBehindHang{"Stop", 9222, true},
                                           QueuedBehindHang{"LegacyStop", 11000, true},
                                           QueuedBehindHang{"Rename", 14000, false}),
                         [](const auto& test) { return std::string(test.param.name); });

// The process to kill is asked for when the kill happens: a window that went away kills nothing.
TEST_F(WorkerTest, AHungStopWhoseWindowIsGoneKillsNothing) {
    const auto instance = FakeIpcPlatform::window(kPid);
    platform.hangOn(kPid, 9222);
    EmulatorWorkerThread worker(9, statuses.callback(), platform);
    worker.push(instance, 9222, bytes("9"));
    ASSERT_TRUE(platform.waitUntilBlocked(kPid));
    platform.setOwner(instance, 0);
    platform.advance(2000);
    EXPECT_TRUE(worker.isTimeout());
    EXPECT_TRUE(platform.kills().empty());
    platform.answer(kPid);
}
