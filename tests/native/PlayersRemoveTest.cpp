#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/ipc/IpcMessages.h"
#include "core/storage/ConfigDocument.h"
#include "core/storage/Desktop.h"
#include "core/storage/Players.h"
#include "core/storage/VmRuntime.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

using common::Players;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

class PlayersRemove : public ::testing::Test {
protected:
    void SetUp() override {
        common::setDesktop(&host);
        players.setNamePatterns(L"mutex_%08x", L"endpoint_%08x");
        std::filesystem::create_directories(dir / "vms" / "vantor3");
        writeFile(dir / "vms" / "vantor3" / "data.vmdk", "disk");
        writeFile(dir / "vms" / "config" / "vantor3.config", R"({"statusSettings":{"playerName":"Old"}})");
        players.init(dir.path());
    }
    void TearDown() override { common::setDesktop(nullptr); }

    TempDir dir;
    testing_support::RecordingHost host;
    Players players{KV_PRODUCT_9};
};

} // namespace

TEST(VmRuntime, UuidHashesTheLowerCasedProgramFolder) {
    EXPECT_EQ(common::vmUuidFor(L"C:\\KV Multi\\", 3), L"{20160302-bbbb-bbbb-7c2c-000000000003}");
    EXPECT_EQ(common::vmUuidFor(L"c:\\kv multi\\", 3), common::vmUuidFor(L"C:\\KV Multi\\", 3));
    EXPECT_EQ(common::vmUuidFor(L"D:\\kv\\", 0x1234abcd), L"{20160302-bbbb-bbbb-246a-00001234abcd}");
    EXPECT_LE(common::programFolderHash(L"any folder\\"), 0x7fffu);
}

TEST(VmRuntime, FolderIsTheInstalledRuntimeThenTheBundledOneThenTheInstalledAgain) {
    TempDir drive;
    TempDir program;
    const auto installed = drive / "Program Files/kvplayer9box";
    EXPECT_EQ(common::chooseVmRuntimeFolder(drive.path(), program.path(), true), installed);

    std::filesystem::create_directories(program / "KvBox" / "win.x86");
    EXPECT_EQ(common::chooseVmRuntimeFolder(drive.path(), program.path(), true), installed)
        << "a 64-bit processor looks only for the amd64 runtime";
    EXPECT_EQ(common::chooseVmRuntimeFolder(drive.path(), program.path(), false).parent_path(),
              program / "KvBox" / "win.x86");

    std::filesystem::create_directories(installed);
    EXPECT_EQ(common::chooseVmRuntimeFolder(drive.path(), program.path(), false), installed);
}

TEST_F(PlayersRemove, UnregistersThenDeletesFolderAndConfigurationAndDropsTheIndex) {
    ASSERT_TRUE(players.hasIndex(3));
    players.remove(3);
    ASSERT_EQ(host.executed.size(), 1u);
    EXPECT_EQ(std::filesystem::path(host.executed[0].first).filename(), "VBoxManage.exe");
    EXPECT_EQ(host.executed[0].second, L"unregistervm " + common::vmUuid(3));
    EXPECT_FALSE(std::filesystem::exists(dir / "vms" / "vantor3"));
    EXPECT_FALSE(std::filesystem::exists(dir / "vms" / "config" / "vantor3.config"));
    EXPECT_FALSE(players.hasIndex(3));
}

TEST_F(PlayersRemove, InstanceWhoseFolderIsGoneStillLosesItsConfigurationAndIndex) {
    std::filesystem::remove_all(dir / "vms" / "vantor3");
    players.remove(3);
    EXPECT_FALSE(std::filesystem::exists(dir / "vms" / "config" / "vantor3.config"));
    EXPECT_FALSE(players.hasIndex(3));

    common::setDesktop(nullptr); // without a host the files still go
    std::filesystem::create_directories(dir / "vms" / "vantor4");
    players.loadConfig();
    players.remove(4);
    EXPECT_FALSE(std::filesystem::exists(dir / "vms" / "vantor4"));
    EXPECT_FALSE(players.hasIndex(4));
}

TEST_F(PlayersRemove, RenameStoresTheNameWithoutLineBreaksAndTellsTheInstance) {
    players.rename(77, 3, L"Farm\r\n 1\n");
    common::ConfigDocument doc;
    doc.load(dir / "vms" / "config" / "vantor3.config");
    EXPECT_EQ(doc.getString("statusSettings.playerName"), L"Farm 1");
    EXPECT_EQ(players.displayNameCached(3), L"Farm 1");
    ASSERT_EQ(host.posted.size(), 1u);
    EXPECT_EQ(host.posted[0].windowClass, L"endpoint_00000003");
    EXPECT_EQ(host.posted[0].key, 77);
    EXPECT_EQ(host.posted[0].message, utility::kMsgRename);
    EXPECT_EQ(host.posted[0].text, L"Farm 1");
}

TEST_F(PlayersRemove, RenameToTheStoredNameWritesNothingButStillNotifies) {
    players.rename(1, 3, L"Renamed"); // completes the configuration once
    const auto configFile = dir / "vms" / "config" / "vantor3.config";
    const std::string before = readFile(configFile);
    const auto stamp = std::filesystem::last_write_time(configFile);
    players.rename(1, 3, L"Renamed");
    EXPECT_EQ(readFile(configFile), before);
    EXPECT_EQ(std::filesystem::last_write_time(configFile), stamp);
    EXPECT_EQ(host.posted.size(), 2u);

    players.rename(1, -1, L"nobody");
    EXPECT_EQ(host.posted.size(), 2u) << "index -1 names no instance";
}
