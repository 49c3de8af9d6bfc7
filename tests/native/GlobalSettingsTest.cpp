#include "core/storage/GlobalSettings.h"

#include <gtest/gtest.h>

#include "core/storage/PlayerSet.h"
#include "support/TempDir.h"

using common::GlobalSettings;
using common::Point;
using namespace common::settings;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::filesystem::path settingsFile(const std::filesystem::path& base) {
    return base / "vms" / "config" / "vantors.config";
}

} // namespace

TEST(GlobalSettings, WithoutAFileOrBeforeLoadingEveryKeyHasItsDefault) {
    GlobalSettings unloaded;
    EXPECT_TRUE(unloaded.get(windowsAutoSize));
    unloaded.set(windowsAutoSize, false); // no document: nothing to write
    EXPECT_FALSE(unloaded.save());

    TempDir dir;
    GlobalSettings s;
    s.load(dir.path());
    EXPECT_TRUE(s.get(windowsAutoSize));
    EXPECT_EQ(s.get(windowsOffset), (Point{40, 40}));
    EXPECT_EQ(s.get(batchStartInterval), 5);
    EXPECT_EQ(s.get(framesPerSecond), 60);
    EXPECT_EQ(s.get(languageId), L"");
    EXPECT_TRUE(s.firstBoot());
}

TEST(GlobalSettings, StoredValuesWinIncludingZeroIntervalAndOutOfRangeSortNumbersCountAsFour) {
    TempDir dir;
    writeFile(settingsFile(dir.path()),
              R"({"batchStartInterval": 0, "groupSortNumber": 101, "windowsOrigin": {"x": 5, "y": 6}})");
    writeFile(dir / "vms" / "config" / "firstboottag", "");
    GlobalSettings s;
    s.load(dir.path());
    EXPECT_FALSE(s.firstBoot());
    EXPECT_EQ(s.get(batchStartInterval), 0);
    EXPECT_EQ(s.groupSortNumber(), 4);
    EXPECT_EQ(s.get(windowsOrigin), (Point{5, 6}));
    for (int stored : {-1, 101}) {
        s.set(groupSortNumber, stored);
        EXPECT_EQ(s.groupSortNumber(), 4);
    }
    for (int stored : {0, 100}) {
        s.set(groupSortNumber, stored);
        EXPECT_EQ(s.groupSortNumber(), stored);
    }
}

TEST(GlobalSettings, OneShotFlagsAreTrueOnceAndWrittenBackAtOnce) {
    TempDir dir;
    writeFile(settingsFile(dir.path()), R"({"groupNewUser": true})");
    GlobalSettings s;
    s.load(dir.path());
    EXPECT_TRUE(s.takeOneShot(groupNewUser));
    EXPECT_FALSE(s.takeOneShot(groupNewUser));
    EXPECT_NE(readFile(settingsFile(dir.path())).find("\"groupNewUser\": false"), std::string::npos);
}

TEST(GlobalSettings, SettingOneCoordinateKeepsTheOther) {
    TempDir dir;
    GlobalSettings s;
    s.load(dir.path());
    s.setY(windowsOffset, 7);
    EXPECT_EQ(s.get(windowsOffset), (Point{40, 7}));
}

namespace {

// Lines 2 and 4 installed in their own folders, the program's own folder beside them.
struct TwoLines {
    TempDir line2, line4, own;
    common::PlayerSet set;
    TwoLines() {
        set.line(KV_PRODUCT_9).init(line2.path());
        set.line(KV_PRODUCT_14).init(line4.path());
        set.own().init(own.path());
    }
};

} // namespace

TEST(PlayerSet, SetupDialogWritesEveryInstalledLineThenTheProgramsOwnInOrder) {
    TwoLines t;
    std::vector<std::filesystem::path> visited;
    t.set.applyToAllSettings([&](GlobalSettings& s) { visited.push_back(s.path()); });
    EXPECT_EQ(visited, (std::vector<std::filesystem::path>{settingsFile(t.line4.path()), settingsFile(t.line2.path()),
                                                           settingsFile(t.own.path())}));

    // A hand edit made while the manager runs survives, because every pass reloads the file first.
    writeFile(settingsFile(t.line2.path()), R"({"handEdited": 1, "windowsRowCount": 9})");
    common::saveSetupDialogSettings(t.set, {false, true, 2, 6, false, true, false, {1, 2}, {30, 31}, 0});
    const auto& line2 = t.set.line(KV_PRODUCT_9).settings();
    EXPECT_EQ(line2.document()->getInt("handEdited", 0), 1);
    EXPECT_EQ(line2.get(windowsRowCount), 6);
    EXPECT_EQ(line2.get(windowsOffset), (Point{30, 31}));
    EXPECT_EQ(line2.get(batchStartInterval), 0);
    GlobalSettings fromDisk;
    fromDisk.load(t.own.path());
    EXPECT_FALSE(fromDisk.get(vmdkFastMode));
    EXPECT_EQ(fromDisk.get(windowsOrigin), (Point{1, 2}));
}

TEST(PlayerSet, OtherSettingsDialogLeavesAndroid14Untouched) {
    TwoLines t;
    common::saveOtherSettings(t.set, {false, 30, true, true});
    EXPECT_FALSE(std::filesystem::exists(settingsFile(t.line4.path())));
    GlobalSettings line2;
    line2.load(t.line2.path());
    EXPECT_EQ(line2.get(framesPerSecond), 60) << "a disabled slider writes 60";
    EXPECT_TRUE(line2.get(reduceAudio));
}

TEST(PlayerSet, InstallingALineCopiesThePreselectedLinesChoicesWithDefaults) {
    TwoLines t;
    writeFile(settingsFile(t.line2.path()), R"({"cloneFromSmallDisk": true, "windowsAlignType": 2})");
    writeFile(settingsFile(t.own.path()), R"({"windowsAutoSize": false})");
    t.set.line(KV_PRODUCT_9).settings().reload();
    t.set.own().settings().reload();
    t.set.copySettingsOnInstall(KV_PRODUCT_14, KV_PRODUCT_9);
    GlobalSettings target;
    target.load(t.line4.path());
    EXPECT_TRUE(target.get(vmdkFastMode));
    EXPECT_TRUE(target.get(cloneFromSmallDisk));
    EXPECT_EQ(target.get(windowsAlignType), 2);
    EXPECT_EQ(target.get(framesPerSecond), 60);
    EXPECT_FALSE(target.get(windowsAutoSize));
    EXPECT_TRUE(target.get(sortwndnotoutscreen));
}

TEST(PlayerSet, ALineInstalledInTheProgramsFolderAndTheManagerNeverUndoEachOthersSettings) {
    TempDir folder;
    common::PlayerSet set;
    set.own().init(folder.path());
    set.line(KV_PRODUCT_14).init(folder.path()); // both records stand for the same "vantors.config"
    GlobalSettings& manager = set.own().settings();
    GlobalSettings& line = set.line(KV_PRODUCT_14).settings();

    manager.set(multiPlayerLastProduct, 2);
    ASSERT_TRUE(manager.save());
    line.set(languageId, L"fr_FR"); // from a copy loaded before the manager's write
    ASSERT_TRUE(line.save());
    manager.set(windowsRowCount, 6);
    ASSERT_TRUE(manager.save());

    GlobalSettings fromDisk;
    fromDisk.load(folder.path());
    EXPECT_EQ(fromDisk.get(multiPlayerLastProduct), 2);
    EXPECT_EQ(fromDisk.get(languageId), L"fr_FR");
    EXPECT_EQ(fromDisk.get(windowsRowCount), 6);
}
