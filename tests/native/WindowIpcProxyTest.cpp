#include "core/ipc/WindowIpcProxy.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/FakeIpcPlatform.h"
#include "support/LogCapture.h"
#include "support/Recorded.h"

using testing_support::bytes;
using testing_support::FakeIpcPlatform;
using utility::EmulatorStatus;
using utility::WindowIpcProxy;

namespace {

class ProxyTest : public ::testing::Test {
protected:
    FakeIpcPlatform platform;
    testing_support::Recorded<std::pair<int, EmulatorStatus>> reports;
    testing_support::LogCapture log;
    void attach(WindowIpcProxy& proxy) {
        proxy.setStatusCallback([this](int key, EmulatorStatus s) { reports.add({key, s}); });
    }
};

} // namespace

TEST_F(ProxyTest, AHungKeyDoesNotDelayAnotherKey) {
    platform.hangOn(1, 14000);
    WindowIpcProxy proxy(platform, false);
    proxy.send(1, FakeIpcPlatform::window(1), 14000, bytes("stuck"));
    ASSERT_TRUE(platform.waitUntilBlocked(1));
    proxy.send(1, FakeIpcPlatform::window(1), 14000, bytes("behind"));
    for (int i = 0; i < 20; ++i) proxy.send(2, FakeIpcPlatform::window(2), 14000, bytes(std::to_string(i)));
    ASSERT_TRUE(platform.waitForDeliveries(20));
    for (const auto& d : platform.deliveries()) EXPECT_EQ(d.window, FakeIpcPlatform::window(2));
    EXPECT_EQ(proxy.worker(1)->queuedCount(), 1u) << "the same key waits behind its hung message";
    platform.answer(1); // before the proxy goes: its destructor waits for every sender thread
}

TEST_F(ProxyTest, AHungRenameIsReportedNotRespondingOnceThenResponseTimeoutWithoutAKill) {
    platform.hangOn(3, 14000);
    WindowIpcProxy proxy(platform, false);
    attach(proxy);
    proxy.send(3, FakeIpcPlatform::window(3), 14000, bytes("name"));
    ASSERT_TRUE(platform.waitUntilBlocked(3));
    proxy.checkTimeouts();
    platform.advance(1999);
    proxy.checkTimeouts();
    EXPECT_TRUE(reports.get().empty());
    platform.advance(501);
    proxy.checkTimeouts();
    proxy.checkTimeouts();
    EXPECT_EQ(reports.get(), (std::vector<std::pair<int, EmulatorStatus>>{{3, EmulatorStatus::NotResponding}}));
    EXPECT_EQ(testing_support::LogCapture::count("utility::EmulatorWorkerThread::isTimeout", L"uniIndexEmu:3"), 2)
        << "each tick of a long delivery is logged";

    platform.answer(3);
    ASSERT_TRUE(reports.waitFor(2));
    EXPECT_EQ(reports.get()[1], std::make_pair(3, EmulatorStatus::ResponseTimeout));
    EXPECT_TRUE(platform.kills().empty());
}

TEST_F(ProxyTest, EveryHungDeliveryIsReportedAgain) {
    platform.hangOn(3, 14000);
    WindowIpcProxy proxy(platform, false);
    attach(proxy);
    for (int round = 1; round <= 2; ++round) {
        proxy.send(3, FakeIpcPlatform::window(3), 14000, bytes("name"));
        ASSERT_TRUE(platform.waitUntilBlocked(3));
        platform.advance(2000);
        proxy.checkTimeouts();
        platform.answer(3);
        ASSERT_TRUE(reports.waitFor(2 * round));
        platform.hangOn(3, 14000);
    }
    const auto got = reports.get();
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[2].second, EmulatorStatus::NotResponding);
}

TEST_F(ProxyTest, TheWatchdogThreadKillsAHungCloseRequest) {
    platform.hangOn(2, 9222);
    WindowIpcProxy proxy(platform); // with its own 2000 ms tick
    attach(proxy);
    proxy.send(2, FakeIpcPlatform::window(2), 9222, bytes("2"));
    ASSERT_TRUE(platform.waitUntilBlocked(2));
    platform.advance(2000);
    ASSERT_TRUE(reports.waitFor(2)) << "within a tick or two";
    // The kill ends the send, so the worker's ResponseTimeout may come before the watchdog's NotResponding.
    auto got = reports.get();
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::pair<int, EmulatorStatus>>{{2, EmulatorStatus::ResponseTimeout},
                                                                {2, EmulatorStatus::NotResponding}}));
    EXPECT_EQ(platform.kills().size(), 1u);
    EXPECT_EQ(testing_support::LogCapture::count("utility::WindowIpcProxy::WindowIpcProxy", L"checkTimeoutThread:"), 1);
}
