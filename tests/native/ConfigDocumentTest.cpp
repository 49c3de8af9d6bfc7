#include "core/storage/ConfigDocument.h"

#include <gtest/gtest.h>

#include "core/storage/InstanceKeys.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using common::ConfigDocument;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

TEST(ConfigDocument, DamagedFilesLoadAsAnEmptyObjectWhoseReadsGiveDefaults) {
    TempDir dir;
    const std::pair<const char*, std::string> damaged[] = {
        {"notjson", "this is not json"},
        {"array", "[1, 2, 3]"},
        {"trailing", "{} {}"},
        {"badutf8", "{\"statusSettings.playerName\": \"\xC3\x28\"}"},
        {"deep", std::string(100000, '[')},
    };
    for (const auto& [name, content] : damaged) {
        writeFile(dir / name, content);
        ConfigDocument doc;
        EXPECT_FALSE(doc.load(dir / name)) << name;
        EXPECT_EQ(doc.memberCount(), 0u) << name;
        EXPECT_TRUE(common::keys::readBool(doc, "basicSettings.autoRotate", KV_PRODUCT_71_32)) << name;
    }
    ConfigDocument missing;
    EXPECT_FALSE(missing.load(dir / "absent.config"));
    EXPECT_EQ(missing.path(), dir / "absent.config");
}

TEST(ConfigDocument, ValuesOfTheWrongTypeReadAsFalseEmptyOrDefault) {
    ConfigDocument doc;
    ASSERT_TRUE(doc.loadText(R"({"statusSettings.playerName": 12, "basicSettings.autoRun": 1,
        "basicSettings.fps": "60", "basicSettings.HDRQuality": 2.9, "advancedSettings.resolution": 5})"));
    EXPECT_EQ(doc.getString("statusSettings.playerName", L"default"), L"");
    EXPECT_FALSE(doc.getBool("basicSettings.autoRun", true));
    EXPECT_EQ(doc.getInt("basicSettings.fps", 30), 30);
    EXPECT_EQ(doc.getInt("basicSettings.HDRQuality", 0), 2);
    EXPECT_EQ(doc.getResolution("advancedSettings.resolution", {1, 2}), (common::Resolution{1, 2}));
    EXPECT_TRUE(doc.get("missing").IsNull());
}

TEST(ConfigDocument, FlatDottedNamesMatchExactlyAndTheFirstDuplicateWins) {
    ConfigDocument doc;
    ASSERT_TRUE(doc.loadText(R"({"basicSettings": {"fps": 1}, "basicSettings.fps": 2, "basicSettings.fps": 3,
        "basicsettings.fps": 4})"));
    EXPECT_EQ(doc.getInt("basicSettings.fps", 0), 2);
    doc.setInt("basicSettings.fps", 9);
    EXPECT_EQ(doc.getInt("basicSettings.fps", 0), 9);
}

TEST(ConfigDocument, SettersReplaceInPlaceAppendNewMembersAndMarkModified) {
    ConfigDocument doc;
    ASSERT_TRUE(doc.loadText(R"({"a": 1, "b": true, "c": "x"})"));
    EXPECT_FALSE(doc.modified());
    doc.setInt("a", 5);
    doc.setString("d", L"\u4E2D\u6587");
    doc.setPoint("windowsOffset", 40, 41);
    doc.setResolution(1920, 1080);
    doc.setHotkey("hotkeySettings.bossKey", {2, 81});
    EXPECT_TRUE(doc.modified());
    EXPECT_EQ(doc.serialize(), "{\n"
                               "    \"a\": 5,\n"
                               "    \"b\": true,\n"
                               "    \"c\": \"x\",\n"
                               "    \"d\": \"\xE4\xB8\xAD\xE6\x96\x87\",\n"
                               "    \"windowsOffset\": {\n"
                               "        \"x\": 40,\n"
                               "        \"y\": 41\n"
                               "    },\n"
                               "    \"advancedSettings.resolution\": {\n"
                               "        \"width\": 1920,\n"
                               "        \"height\": 1080\n"
                               "    },\n"
                               "    \"hotkeySettings.bossKey\": {\n"
                               "        \"modifiers\": 2,\n"
                               "        \"key\": 81\n"
                               "    }\n"
                               "}");
    EXPECT_EQ(doc.getString("d"), L"\u4E2D\u6587");
    EXPECT_EQ(doc.getPoint("windowsOffset", {}), (common::Point{40, 41}));
    EXPECT_EQ(doc.getHotkey("hotkeySettings.bossKey", {}), (common::CombineKey{2, 81}));
}

TEST(ConfigDocument, StoringAnEqualValueLeavesTheDocumentUnmodified) {
    ConfigDocument doc;
    ASSERT_TRUE(doc.loadText(R"({"a": 5, "advancedSettings.resolution": {"height": 720, "width": 1280}})"));
    doc.setInt("a", 5);
    doc.setResolution(1280, 720);
    EXPECT_FALSE(doc.modified());
    doc.setBool("a", true);
    EXPECT_TRUE(doc.modified());
}

TEST(ConfigDocument, SaveWritesOnlyWhenModifiedCreatingFoldersAndLeavingNoTemporaryFile) {
    TempDir dir;
    const auto path = dir / "vms" / "config" / "vantor3.config";
    ConfigDocument doc;
    doc.load(path);
    EXPECT_FALSE(doc.save());
    EXPECT_FALSE(std::filesystem::exists(path));

    doc.setBool("basicSettings.autoRun", true);
    EXPECT_TRUE(doc.save());
    EXPECT_FALSE(doc.modified());
    ConfigDocument again;
    ASSERT_TRUE(again.load(path));
    EXPECT_TRUE(again.getBool("basicSettings.autoRun", false));

    std::filesystem::remove(path);
    EXPECT_FALSE(doc.save()) << "an unchanged document writes nothing, even when its file is gone";
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(path.parent_path()), std::filesystem::directory_iterator()),
        0);
}

TEST(ConfigDocument, DocumentWithoutPathSavesNothing) {
    ConfigDocument doc;
    doc.setInt("x", 1);
    EXPECT_FALSE(doc.save());
    EXPECT_FALSE(doc.modified());
}

TEST(ConfigDocument, WhatWasLoadedAlwaysSavesToAFileThatLoadsAgain) {
    // A lone surrogate escape parses, and must not make the saved file unreadable (the next load would drop
    // every setting). Numbers that parse to infinity are the fuzz target's to find.
    ConfigDocument doc;
    ASSERT_TRUE(doc.loadText("{\"name\": \"a\\uDE2Db\", \"big\": 1.5e300, \"fps\": 60}"));
    ConfigDocument again;
    ASSERT_TRUE(again.loadText(doc.serialize())) << doc.serialize();
    EXPECT_EQ(again.getString("name"), L"a\uFFFD\uFFFD\uFFFDb"); // each byte of the bad sequence
    EXPECT_EQ(again.getInt("fps", 0), 60);
    EXPECT_EQ(again.memberCount(), 3u);
}

TEST(ConfigDocument, AFileThatFailedToLoadIsKeptBesideBeforeTheFirstSaveOverIt) {
    const testing_support::LogCapture log;
    TempDir dir;
    const auto path = dir / "vms" / "config" / "vantor3.config";
    const std::pair<std::string, const char*> damages[] = {
        {"{\"propertySettings.phoneIMEI\": \"8676320212345", "vantor3.config.bad"},
        {"[\"second damage\"]", "vantor3.config.2.bad"},
    };
    for (const auto& [content, kept] : damages) {
        writeFile(path, content);
        ConfigDocument doc;
        EXPECT_FALSE(doc.load(path));
        doc.setString("propertySettings.phoneIMEI", L"867632029999999"); // a fresh identity
        EXPECT_TRUE(doc.save());
        EXPECT_EQ(readFile(path.parent_path() / kept), content);
        ConfigDocument saved;
        ASSERT_TRUE(saved.load(path));
        EXPECT_EQ(saved.getString("propertySettings.phoneIMEI"), L"867632029999999");
    }
    EXPECT_EQ(readFile(path.parent_path() / "vantor3.config.bad"), damages[0].first) << "an earlier copy stays";
}

TEST(ConfigDocument, SavingKeepsWhatOthersWroteSinceTheLoadAndPutsInOnlyTheKeysChangedHere) {
    TempDir dir;
    const auto path = dir / "vantors.config";
    writeFile(path, R"({"languageId": "en_US", "windowsRowCount": 4})");
    ConfigDocument older;
    ASSERT_TRUE(older.load(path));
    // Meanwhile another writer (the emulator, a hand edit, another record of this file) saves.
    writeFile(path, R"({"languageId": "fr_FR", "windowsRowCount": 4, "mulTab": false})");
    older.setInt("windowsRowCount", 6);
    older.setBool("windowsAutoSize", false);
    ASSERT_TRUE(older.save());
    EXPECT_EQ(readFile(path), "{\n"
                              "    \"languageId\": \"fr_FR\",\n"
                              "    \"windowsRowCount\": 6,\n"
                              "    \"mulTab\": false,\n"
                              "    \"windowsAutoSize\": false\n"
                              "}");
    EXPECT_EQ(older.getString("languageId"), L"fr_FR") << "the document now holds what it wrote";
}
