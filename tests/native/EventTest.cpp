#include "core/dispatch/Event.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dispatch/Dispatcher.h"
#include "core/dispatch/EventLoop.h"
#include "support/CountingRunable.h"

using common::Event;
using common::OwnerKey;
using testing_support::CountingRunable;
using testing_support::TaskCounters;

namespace {

// Receivers that write who heard what into one log, under keys of their own.
class EventTest : public ::testing::Test {
protected:
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    Event<int> event;
    std::vector<std::string> heard;
    const OwnerKey mainWindow = common::newOwnerKey();
    const OwnerKey dialog = common::newOwnerKey();
    const OwnerKey frame = common::newOwnerKey();

    void SetUp() override { common::dispatch::install(&dispatcher); }
    void TearDown() override { common::dispatch::uninstall(); }
    void listen(OwnerKey owner, const std::string& name) {
        ASSERT_TRUE(event.subscribe(owner, [this, name](int v) { heard.push_back(name + std::to_string(v)); }));
    }
};

} // namespace

TEST_F(EventTest, ReceiversHearInTheOrderTheySubscribed) {
    listen(mainWindow, "main");
    listen(dialog, "dialog");
    listen(frame, "frame");
    listen(mainWindow, "main-again");
    EXPECT_TRUE(event.emit(7));
    EXPECT_EQ(heard, (std::vector<std::string>{"main7", "dialog7", "frame7", "main-again7"}));
}

TEST_F(EventTest, CancelDropsTheOwnersSubscriptionsTogetherWithItsQueuedTasks) {
    listen(mainWindow, "main");
    listen(dialog, "dialog");
    TaskCounters counters;
    common::dispatch::post(dialog, new CountingRunable(counters));
    common::dispatch::cancel(dialog); // the dialog closes
    event.emit(1);
    loop.runPending();
    EXPECT_EQ(heard, (std::vector<std::string>{"main1"}));
    EXPECT_EQ(counters.runs, 0);
    EXPECT_EQ(counters.releases, 1);
    EXPECT_EQ(event.receiverCount(), 1u);

    common::dispatch::retire(mainWindow);
    EXPECT_FALSE(event.emit(2)) << "nobody listens any more";
}

TEST_F(EventTest, ReceiverDroppedByAnEarlierOneDuringAnEmissionIsNotCalled) {
    ASSERT_TRUE(event.subscribe(mainWindow, [this](int) {
        heard.push_back("main closes the dialog");
        common::dispatch::cancel(dialog);
        listen(frame, "frame"); // opened meanwhile: hears from the next emission on
    }));
    listen(dialog, "dialog");
    event.emit(1);
    EXPECT_EQ(heard, (std::vector<std::string>{"main closes the dialog"}));
    heard.clear();
    event.emit(2);
    EXPECT_EQ(heard, (std::vector<std::string>{"main closes the dialog", "frame2"}));
}

TEST_F(EventTest, RefusesOwnerZeroAndEmptyReceivers) {
    EXPECT_FALSE(event.subscribe(0, [](int) {}));
    EXPECT_FALSE(event.subscribe(dialog, {}));
    EXPECT_FALSE(event.emit(1));
}
