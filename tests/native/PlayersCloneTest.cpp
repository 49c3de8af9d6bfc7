#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "core/storage/KVPhoneConfig.h"
#include "core/storage/Players.h"
#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/Recorded.h"
#include "support/TempDir.h"

using common::CloneSetting;
using common::ConfigDocument;
using common::Players;
using testing_support::headOf;
using testing_support::TempDir;
using testing_support::writeDiskImage;

namespace {

// Every report of one operation: (percent, index), collected from the worker thread.
struct Reports : testing_support::Recorded<std::pair<int, int>> {
    common::CloneProgress callback() {
        return [this](int percent, int index) { add({percent, index}); };
    }
    std::vector<int> percents() const {
        std::vector<int> out;
        for (const auto& s : get()) out.push_back(s.first);
        return out;
    }
};

class PlayersCloneTest : public ::testing::Test {
protected:
    TempDir dir;
    void SetUp() override {
        common::setProductNameSource([] { return std::wstring(L"Player"); });
    }
    void TearDown() override { common::setProductNameSource({}); }
    void makeInstance(Players& p, int index, bool withSystemDisk) {
        const bool vdi = p.usesVdi();
        writeDiskImage(p.dataDiskPath(index, vdi), "data of " + std::to_string(index), 1 << 20);
        writeDiskImage(p.sdcardDiskPath(index, vdi), "sdcard of " + std::to_string(index), 1 << 20);
        if (withSystemDisk) writeDiskImage(p.systemDiskPath(index, vdi), "system of " + std::to_string(index));
        testing_support::writeFile(
            p.configPath(index),
            R"({"statusSettings.playerName": "Game", "propertySettings.phoneIMEI": "867632020000001",
                                       "propertySettings.phoneModel": "M", "propertySettings.phoneManufacturer": "X"})");
    }
};

void expectSingleFinal100(const std::vector<int>& percents) {
    ASSERT_FALSE(percents.empty());
    EXPECT_EQ(percents.back(), 100);
    EXPECT_EQ(std::count(percents.begin(), percents.end(), 100), 1);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}

} // namespace

TEST_F(PlayersCloneTest, NewIndexIsTheSmallestFreeOneReservedBeforeReturning) {
    for (auto [existing, expected] :
         std::vector<std::pair<std::vector<int>, int>>{{{0, 1, 3}, 2}, {{0, 1, 2}, 3}, {{}, 0}, {{1, 2}, 0}}) {
        TempDir d;
        Players p(KV_PRODUCT_9);
        p.init(d.path());
        for (int i : existing) p.addIndex(i);
        const int first = p.cloneEx(-1, {}, {});
        const int second = p.cloneEx(-1, {}, {});
        EXPECT_EQ(first, expected);
        EXPECT_NE(first, second) << "the first index is taken before any copy starts";
        EXPECT_TRUE(p.hasIndex(first));
        EXPECT_TRUE(p.hasIndex(second));
        p.waitForTasks();
    }
}

TEST_F(PlayersCloneTest, ConcurrentCreatesOnOneLineGetDistinctIndicesAndAllFinish) {
    Players p(KV_PRODUCT_14);
    p.init(dir.path());
    writeDiskImage(p.templateDataPath(true), "template", 1 << 20);
    Reports reports;
    testing_support::Recorded<int> created;
    std::vector<std::thread> callers;
    for (int t = 0; t < 4; ++t)
        callers.emplace_back([&] {
            for (int i = 0; i < 3; ++i) created.add(p.cloneEx(-1, reports.callback(), {}));
        });
    for (auto& c : callers) c.join();
    p.waitForTasks();
    const auto indices = created.get();
    EXPECT_EQ(std::set<int>(indices.begin(), indices.end()).size(), 12u);
    EXPECT_EQ(*std::max_element(indices.begin(), indices.end()), 11);
    const auto percents = reports.percents();
    EXPECT_EQ(std::count(percents.begin(), percents.end(), 100), 12);
    for (int i : indices) {
        EXPECT_EQ(headOf(p.dataDiskPath(i, true)), "template");
        EXPECT_FALSE(p.isCreating(i));
    }
}

TEST_F(PlayersCloneTest, NewInstanceCopiesTheTemplatesAndGetsItsSettingsAndIdentity) {
    Players p(KV_PRODUCT_14);
    p.init(dir.path());
    common::KVPhoneConfig::instance().loadConfig(KV_PHONE_LIST);
    writeDiskImage(p.templateDataPath(true), "big template", 1 << 20);
    writeDiskImage(p.templateSmallDataPath(true), "small template", 1 << 20);
    Reports reports;
    CloneSetting s;
    s.hasResolution = true, s.width = 1920, s.height = 1080, s.dpi = 280, s.smallDisk = true;
    s.cpuCount = 4, s.memorySize = 4096, s.hasFps = true, s.fps = 90;
    const int index = p.cloneEx(-1, reports.callback(), s);
    p.waitForTasks();
    EXPECT_EQ(headOf(p.dataDiskPath(index, true)), "small template");
    EXPECT_EQ(headOf(p.sdcardDiskPath(index, true)), "big template");
    EXPECT_FALSE(std::filesystem::exists(p.systemDiskPath(index, true)));
    const auto percents = reports.percents();
    expectSingleFinal100(percents);
    EXPECT_NE(std::find(percents.begin(), percents.end(), 50), percents.end());

    ConfigDocument doc;
    doc.load(p.configPath(index));
    EXPECT_EQ(doc.getResolution("advancedSettings.resolution", {}), (common::Resolution{1920, 1080}));
    EXPECT_EQ(doc.getInt("advancedSettings.resolutionDpi", 0), 280);
    EXPECT_EQ(doc.getInt("basicSettings.fsAutoSize", 0), 2);
    EXPECT_EQ(doc.getInt("basicSettings.fps", 0), 90);
    EXPECT_FALSE(doc.has("basicSettings.vMemUsage"));
    EXPECT_FALSE(doc.getBool("basicSettings.verticalSync", true));
    EXPECT_TRUE(doc.getBool("statusSettings.isNewPlayer", false));
    EXPECT_EQ(doc.getString("statusSettings.playerName", L"x"), L"");
    EXPECT_EQ(doc.getString("propertySettings.phoneIMEI").size(), 15u);
}

TEST_F(PlayersCloneTest, CloneNamesItSourceDashIndexKeepsTheIdentityAndReportsUpTo99Then100) {
    Players p(KV_PRODUCT_9);
    p.init(dir.path());
    for (int i : {0, 1, 5}) {
        makeInstance(p, i, i == 5);
        p.addIndex(i);
    }
    Reports reports;
    const int index = p.cloneEx(5, reports.callback(), {});
    ASSERT_EQ(index, 2);
    EXPECT_EQ(p.displayNameCached(2), L"Game-2") << "the name is cached before the copy ends";
    p.waitForTasks();
    EXPECT_EQ(reports.percents(), (std::vector<int>{20, 99, 100}));
    EXPECT_EQ(reports.get().back().second, 2);
    EXPECT_EQ(headOf(p.dataDiskPath(2, false)), "data of 5");
    EXPECT_EQ(headOf(p.sdcardDiskPath(2, false)), "sdcard of 5");
    EXPECT_EQ(headOf(p.systemDiskPath(2, false)), "system of 5");
    ConfigDocument doc;
    doc.load(p.configPath(2));
    EXPECT_EQ(doc.getString("statusSettings.playerName"), L"Game-2");
    EXPECT_EQ(doc.getString("propertySettings.phoneIMEI"), L"867632020000001");
    EXPECT_FALSE(doc.has("statusSettings.isNewPlayer"));
    EXPECT_EQ(p.displayName(2), L"Game-2");
}

// Folder names the scan reads loosely, names it skips and names taken by files: a new instance still gets a
// folder of its own and every existing one keeps its bytes.
TEST_F(PlayersCloneTest, NewInstanceNeverLandsOnAnExistingFolderWhateverItIsCalled) {
    struct Case {
        std::vector<std::string> folders;
        std::vector<std::string> files;
        int expected;
    };
    for (const Case& c : std::vector<Case>{{{"vantor0", "vantor1", "vantor-2"}, {}, 2},
                                           {{"vantor0", "vantor-7", "vantor 1", "vantor+2", "vantor03"}, {}, 4},
                                           {{"vantor1"}, {"vantor0", "vantor2"}, 3},
                                           {{"vantor-0", "vantor00"}, {}, 1}}) {
        TempDir d;
        Players p(KV_PRODUCT_14);
        writeDiskImage(d / "data.vdi", "template"); // the line's template data disk
        for (const auto& name : c.folders) testing_support::writeFile(d / "vms" / name / "data.vdi", "kept " + name);
        for (const auto& name : c.files) testing_support::writeFile(d / "vms" / name, "kept " + name);
        p.init(d.path());
        Reports reports;
        const int index = p.cloneEx(-1, reports.callback(), {});
        p.waitForTasks();
        EXPECT_EQ(index, c.expected) << c.folders.front();
        EXPECT_EQ(headOf(p.dataDiskPath(index, true)), "template");
        for (const auto& name : c.folders)
            EXPECT_EQ(testing_support::readFile(d / "vms" / name / "data.vdi"), "kept " + name);
        for (const auto& name : c.files) EXPECT_EQ(testing_support::readFile(d / "vms" / name), "kept " + name);
    }
}

TEST_F(PlayersCloneTest, MarkerLiesInTheNewFolderWhileCopiesRunAndGoesOnlyWhenAllIsWritten) {
    Players p(KV_PRODUCT_9);
    p.init(dir.path());
    makeInstance(p, 0, true);
    p.addIndex(0);
    writeDiskImage(p.templateDataPath(false), "template");
    for (int source : {-1, 0}) {
        std::vector<bool> markedAt;
        const int index =
            p.cloneEx(source,
                      [&](int percent, int target) {
                          if (percent != 100)
                              markedAt.push_back(std::filesystem::exists(p.instanceFolder(target) / "copy_not_finish"));
                      },
                      {});
        EXPECT_TRUE(std::filesystem::exists(p.instanceFolder(index))) << "the folder is made by the reservation";
        p.waitForTasks();
        EXPECT_EQ(markedAt, std::vector<bool>(markedAt.size(), true)) << source;
        EXPECT_FALSE(markedAt.empty());
        EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(index) / "copy_not_finish")) << source;
        EXPECT_TRUE(std::filesystem::exists(p.configPath(index)));
    }
}

// A create whose second copy fails (a folder stands where its sdcard must go once the data disk is in) and a
// clone whose source has no data disk: each stays marked, takes its partial files away and reports 100 once.
TEST_F(PlayersCloneTest, FailedCreateOrCloneStaysMarkedWithoutItsPartialFilesAndLeavesTheSourceAlone) {
    Players p(KV_PRODUCT_9);
    p.init(dir.path());
    makeInstance(p, 0, false);
    std::filesystem::remove(p.dataDiskPath(0, false));
    p.addIndex(0);
    writeDiskImage(p.templateDataPath(false), "template", 1 << 20);
    const auto sourceConfig = testing_support::readFile(p.configPath(0));
    testing_support::LogCapture log;
    for (int source : {-1, 0}) {
        Reports reports;
        const int index = p.cloneEx(source,
                                    [&](int percent, int target) {
                                        if (percent == 50)
                                            std::filesystem::create_directory(p.sdcardDiskPath(target, false));
                                        reports.add({percent, target});
                                    },
                                    {});
        p.waitForTasks();
        expectSingleFinal100(reports.percents());
        std::vector<std::string> left;
        for (const auto& e : std::filesystem::directory_iterator(p.instanceFolder(index)))
            left.push_back(e.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"copy_not_finish"}) << source;
        EXPECT_FALSE(std::filesystem::exists(p.configPath(index))) << source;
    }
    EXPECT_TRUE(log.containsPart(L"open src error"));
    EXPECT_EQ(headOf(p.sdcardDiskPath(0, false)), "sdcard of 0");
    EXPECT_EQ(testing_support::readFile(p.configPath(0)), sourceConfig);
}

TEST_F(PlayersCloneTest, BusyRegistryShowsCopiesWhileTheyRunAndLogsHits) {
    Players p(KV_PRODUCT_9);
    p.init(dir.path());
    testing_support::LogCapture log;
    {
        common::CopyMark copy(p.busy(), 5, 2);
        common::BusyMark backup(p.busy(), common::BusyRegistry::Kind::Backup, 7);
        EXPECT_TRUE(p.isCopying(5));
        EXPECT_FALSE(p.isCopying(2));
        EXPECT_TRUE(p.isBeingCopied(2));
        EXPECT_TRUE(p.isBackuping(7));
        EXPECT_FALSE(p.isRestoring(7));
        EXPECT_FALSE(p.isCreating(7));
    }
    EXPECT_FALSE(p.isCopying(5));
    EXPECT_FALSE(p.isBackuping(7));
    EXPECT_TRUE(log.containsPart(L"player 7  is backuping")); // the copy lines are checked by the model's reload
}

// A shutdown while a create or clone copies: the copy after the first file ends early, the instance stays
// marked as a failed copy without partial files, and 100 still ends the operation.
TEST_F(PlayersCloneTest, AShutdownDuringACopyEndsItAsFailedWithoutPartialFiles) {
    for (auto [source, firstFileDone] : std::vector<std::pair<int, int>>{{-1, 50}, {0, 20}}) {
        TempDir d;
        Players p(KV_PRODUCT_9);
        p.init(d.path());
        makeInstance(p, 0, true);
        p.addIndex(0);
        writeDiskImage(p.templateDataPath(false), "template", 1 << 20);
        testing_support::LogCapture log;
        std::atomic<bool> reached{false};
        Reports reports;
        const int index = p.cloneEx(source,
                                    [&](int percent, int target) {
                                        reports.add({percent, target});
                                        if (percent != firstFileDone) return;
                                        reached = true;
                                        while (!p.stopRequested()) std::this_thread::yield();
                                    },
                                    {});
        while (!reached) std::this_thread::yield();
        p.stopTasks();
        expectSingleFinal100(reports.percents());
        std::vector<std::string> left;
        for (const auto& e : std::filesystem::directory_iterator(p.instanceFolder(index)))
            left.push_back(e.path().filename().string());
        EXPECT_EQ(left, std::vector<std::string>{"copy_not_finish"}) << source;
        EXPECT_FALSE(std::filesystem::exists(p.configPath(index))) << source;
        EXPECT_TRUE(log.containsPart(L"copy stopped at 0 of 1048576")) << source;
    }
}
