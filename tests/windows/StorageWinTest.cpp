// Instance storage on Windows: a real backup and restore with the shipped 7za.exe, and a clone whose
// progress reaches the user-interface thread through the dispatcher's hidden window.

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "app/UiRuntime_win.h"
#include "core/files/Archiver.h"
#include "core/storage/Players.h"
#include "platform/win32/MessagePump_win.h"
#include "support/DiskImages.h"
#include "support/TempDir.h"

using common::Players;
using platform::win32::pumpMessagesUntil;
using testing_support::headOf;
using testing_support::TempDir;
using testing_support::writeDiskImage;
using namespace std::chrono_literals;

namespace {

// The build folder's Linux path as Wine sees it: drive Z: is the root.
std::filesystem::path fromBuildMachine(std::string linuxPath) {
    for (char& c : linuxPath)
        if (c == '/') c = '\\';
    return std::filesystem::path("Z:" + linuxPath);
}

void makeInstance(Players& p, int index) {
    writeDiskImage(p.dataDiskPath(index, p.usesVdi()), "data " + std::to_string(index), 2 << 20);
    writeDiskImage(p.sdcardDiskPath(index, p.usesVdi()), "sdcard " + std::to_string(index), 1 << 20);
    testing_support::writeFile(p.configPath(index), R"({"statusSettings.playerName": "w"})");
}

} // namespace

TEST(StorageOnWindows, BackupAndRestoreRoundTripThroughTheShipped7za) {
    common::files::setArchiverProgram(fromBuildMachine(KV_PROGRAM_7ZA));
    TempDir dir;
    Players p(KV_PRODUCT_14);
    p.init(dir / u8"\u5b89\u5353 line");
    makeInstance(p, 3);
    const auto archive = dir / u8"my backups!" / "three.kvbk";
    std::filesystem::create_directories(archive.parent_path());
    p.backup(3, true, archive);
    ASSERT_TRUE(std::filesystem::exists(archive));
    EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(3) / "vantor.config"));

    writeDiskImage(p.dataDiskPath(3, true), "damaged", 16);
    std::filesystem::remove(p.sdcardDiskPath(3, true));
    testing_support::writeFile(p.configPath(3), "{}");
    p.restore(3, archive);
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3");
    EXPECT_EQ(std::filesystem::file_size(p.dataDiskPath(3, true)), 2u << 20);
    EXPECT_EQ(headOf(p.sdcardDiskPath(3, true)), "sdcard 3");
    EXPECT_EQ(testing_support::readFile(p.configPath(3)), R"({"statusSettings.playerName": "w"})");

    testing_support::writeFile(dir / "corrupt.kvbk", std::string(1000, 'x'));
    p.restore(3, dir / "corrupt.kvbk");
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3") << "a corrupt archive changes nothing";
    common::files::setArchiverProgram({});
}

TEST(StorageOnWindows, CloneProgressReachesTheUiThreadThroughTheDispatcher) {
    ASSERT_TRUE(app::installLogAndDispatcher());
    TempDir dir;
    Players p(KV_PRODUCT_9);
    p.init(dir.path());
    makeInstance(p, 0);
    p.addIndex(0);
    const DWORD ui = GetCurrentThreadId();
    std::vector<int> onUi;
    bool offThread = false;
    int owner = 0;
    const int index = p.cloneEx(0,
                                common::progressOnUiThread(common::ownerKeyOf(&owner),
                                                           [&](int percent, int) {
                                                               offThread = offThread || GetCurrentThreadId() != ui;
                                                               onUi.push_back(percent);
                                                           }),
                                {});
    EXPECT_EQ(index, 1);
    EXPECT_TRUE(pumpMessagesUntil([&] { return !onUi.empty() && onUi.back() == 100; }, 60s));
    p.waitForTasks();
    app::removeLogAndDispatcher();
    EXPECT_FALSE(offThread);
    EXPECT_EQ(onUi, (std::vector<int>{99, 100}));
    EXPECT_EQ(headOf(p.dataDiskPath(1, false)), "data 0");
    EXPECT_EQ(p.displayName(1).substr(0, 2), L"w-");
}
