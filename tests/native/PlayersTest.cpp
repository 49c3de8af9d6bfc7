#include "core/storage/Players.h"

#include <gtest/gtest.h>

#include <thread>

#include "support/TempDir.h"

using common::Players;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

void makeFolders(const TempDir& dir, std::initializer_list<const char*> names) {
    for (const char* n : names) std::filesystem::create_directories(dir / "vms" / n);
}

} // namespace

TEST(Players, IndexFromNameAcceptsOnlyVantorAndAWholeNumber) {
    EXPECT_EQ(Players::indexFromName(L"vantor12"), 12);
    EXPECT_EQ(Players::indexFromName(L"vantor07"), 7);
    EXPECT_EQ(Players::indexFromName(L"vantor 7"), 7) << "the integer parser skips leading blanks";
    EXPECT_EQ(Players::indexFromName(L"vantor+7"), 7);
    for (const wchar_t* bad : {L"vantor", L"vantorx", L"vantor12a", L"Vantor1", L"vantor7.bak", L"vantor ",
                               L"vantor99999999999", L"xvantor1"})
        EXPECT_EQ(Players::indexFromName(bad), -1) << bad;
    EXPECT_EQ(Players::instanceName(12), L"vantor12");
    EXPECT_EQ(Players::instanceName(-1), L"");
}

TEST(Players, ScanFindsInstanceFoldersOnly) {
    TempDir dir;
    makeFolders(dir, {"vantor07", "vantor-1", "vantor7.bak", "vantor2", "config", "other"});
    writeFile(dir / "vms" / "vantor3", "a plain file");
    writeFile(dir / "vms" / "config" / "vantor9.config", "{}"); // a configuration without a folder
    Players players(KV_PRODUCT_9);
    players.init(dir.path());
    EXPECT_EQ(players.indices(), (std::vector<int>{2, 7}));

    std::filesystem::create_directories(dir / "vms" / "vantor5");
    players.init(dir.path()); // the same folder: nothing happens
    EXPECT_FALSE(players.hasIndex(5));
    players.loadConfig();
    EXPECT_TRUE(players.hasIndex(5));
}

TEST(Players, DiskPathsEndInVdiOnAndroid14AndVmdkElsewhere) {
    TempDir dir;
    Players p14(KV_PRODUCT_14);
    Players p9(KV_PRODUCT_9);
    p14.init(dir.path());
    p9.init(dir.path());
    EXPECT_EQ(p14.dataDiskPath(3, p14.usesVdi()), dir / "vms" / "vantor3" / "data.vdi");
    EXPECT_EQ(p9.sdcardDiskPath(3, p9.usesVdi()), dir / "vms" / "vantor3" / "sdcard.vmdk");
    EXPECT_EQ(p9.templateSmallDataPath(false), dir / "data-3G.vmdk");
    EXPECT_EQ(p14.templateSystemPath(true), dir / "system.vdi");
    EXPECT_TRUE(p9.instanceFolder(-1).empty());
    EXPECT_TRUE(p9.configPath(-1).empty());
    EXPECT_TRUE(p9.dataDiskPath(-1, false).empty());
    EXPECT_EQ(p9.configPath(4), dir / "vms" / "config" / "vantor4.config");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "vms" / "config")) << "asking for the path creates the folder";
}

TEST(Players, DisplayNameDropsLineBreaksOrIsDerivedFromTheProductName) {
    TempDir dir;
    Players players(KV_PRODUCT_71_32);
    players.init(dir.path());
    writeFile(players.configPath(1), R"({"statusSettings.playerName": "my\r\nphone\n two\r"})");
    writeFile(players.configPath(2), R"({"statusSettings.playerName": ""})");
    EXPECT_EQ(players.displayName(1), L"myphone two\r");
    common::setProductNameSource([] { return std::wstring(L"Player"); });
    EXPECT_EQ(players.displayName(2), L"Player-2");
    EXPECT_EQ(players.displayName(0), L"Player");
    common::setProductNameSource({});

    players.cacheName(1, L"cached");
    EXPECT_EQ(players.displayNameCached(1), L"cached");
    EXPECT_EQ(players.displayName(1), L"myphone two\r");
    players.forgetName(1);
    EXPECT_EQ(players.displayNameCached(1), L"myphone two\r");
}

TEST(Players, ResolutionFallsBackToTheIndexDefaultForMissingOrZeroValues) {
    TempDir dir;
    Players players(KV_PRODUCT_9);
    players.init(dir.path());
    writeFile(players.configPath(1), R"({"advancedSettings.resolution": {"width": 0, "height": 1600},
        "advancedSettings.resolutionDpi": 320})");
    EXPECT_EQ(players.resolution(1), (common::Resolution{1280, 1600}));
    EXPECT_EQ(players.resolution(2), (common::Resolution{1280, 720}));
    EXPECT_EQ(players.dpi(1), 320);
    EXPECT_EQ(players.dpi(2), 240);
}

TEST(Players, IndexSetAndNameCacheAreSafeAcrossThreads) {
    TempDir dir;
    Players players(KV_PRODUCT_9);
    players.init(dir.path());
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) {
                players.addIndex(t * 1000 + i);
                players.cacheName(t * 1000 + i, L"n");
                (void)players.indices();
                (void)players.displayNameCached(t * 1000 + i);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(players.indices().size(), 2000u);
}
