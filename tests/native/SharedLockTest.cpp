// The per-instance lock another program sees: taken by the storage object's busy marks, honoured by restore,
// backup and the model's removal.

#include "core/platform/SharedLock.h"

#include <gtest/gtest.h>

#include "core/dispatch/EventLoop.h"
#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/ModelWorld.h"

using common::BusyRegistry;

namespace {

class SharedLockTest : public ::testing::Test, protected testing_support::ModelWorld {
protected:
    testing_support::LogCapture log;
    common::Players& line() { return players.line(KV_PRODUCT_14); }
    void SetUp() override { install(KV_PRODUCT_14, L"player14", L"14.0.0.1"); }
    // What another process holding the instance looks like from here.
    std::unique_ptr<platform::SharedLock> takeAsOtherProgram(int index) {
        return platform::tryTakeSharedLock(line().sharedLockName(index));
    }
};

} // namespace

TEST_F(SharedLockTest, ANameIsHeldByOneHolderUntilItLetsGo) {
    const std::wstring name = line().sharedLockName(5);
    auto first = platform::tryTakeSharedLock(name);
    ASSERT_TRUE(first);
    EXPECT_FALSE(platform::tryTakeSharedLock(name));
    EXPECT_TRUE(platform::tryTakeSharedLock(line().sharedLockName(6))) << "each instance has its own";
    first.reset();
    EXPECT_TRUE(platform::tryTakeSharedLock(name));
    EXPECT_NE(line().sharedLockName(5), players.line(KV_PRODUCT_9).sharedLockName(5)) << "folders differ";
}

TEST_F(SharedLockTest, BusyMarksHoldTheLockAndACopySourceStaysFree) {
    BusyRegistry& busy = line().busy();
    {
        common::BusyMark backup(busy, BusyRegistry::Kind::Backup, 1);
        common::BusyMark again(busy, BusyRegistry::Kind::Creation, 1);
        common::CopyMark copy(busy, 2, 3);
        EXPECT_FALSE(takeAsOtherProgram(1));
        EXPECT_FALSE(takeAsOtherProgram(3)) << "the copy's target";
        EXPECT_TRUE(takeAsOtherProgram(2)) << "the copy's source is only read";
        EXPECT_FALSE(busy.heldElsewhere(1)) << "our own marks";
    }
    EXPECT_TRUE(takeAsOtherProgram(1)) << "the last mark released it";
    const auto other = takeAsOtherProgram(4);
    EXPECT_TRUE(busy.heldElsewhere(4));
}

TEST_F(SharedLockTest, RestoreBackupAndRemovalRefuseAnInstanceAnotherProgramHolds) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    const auto other = takeAsOtherProgram(1);
    const auto archive = installs / "one.kvbk";
    testing_support::writeDiskImage(archive, "not really an archive");
    EXPECT_FALSE(line().restore(1, archive));
    EXPECT_TRUE(log.contains("common::Players::restore", L"restore of player 1 refused: it runs or is busy"));
    EXPECT_FALSE(line().backup(1, false, installs / "new.kvbk"));
    EXPECT_FALSE(std::filesystem::exists(installs / "new.kvbk"));

    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    common::dispatch::install(&dispatcher);
    {
        KVMultiModel model{players, sources, desktop, windows, program.path()};
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        model.reloadPlayerList();
        model.remove((10 << 24) + 1, false);
        EXPECT_FALSE(model.isRemoving((10 << 24) + 1));
        EXPECT_TRUE(std::filesystem::exists(line().instanceFolder(1)));
    }
    common::dispatch::uninstall();
}
