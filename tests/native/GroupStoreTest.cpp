#include "core/model/GroupStore.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

using model::Group;
using model::GroupStore;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

TEST(GroupStore, AnEmptyModelSavesTheFiveSectionNamesOnly) {
    TempDir dir;
    GroupStore store(dir / "data");
    ASSERT_TRUE(store.save());
    EXPECT_EQ(readFile(dir / "data" / "groupsV2"), "\r\nvantor14\r\nvantor9\r\nvantor5_32\r\nvantor5_64\r\nvantor3");
}

TEST(GroupStore, OldSingleListFileIsSplitByLineAndWrittenAsTheNewFile) {
    TempDir dir;
    writeFile(dir / "data" / "groups", "G1|5|16777222|83886083|");
    GroupStore store(dir / "data");
    store.load();
    EXPECT_FALSE(store.v2FilePresent());
    EXPECT_TRUE(store.migrationDone());
    ASSERT_EQ(store.groups(KV_PRODUCT_9).size(), 1u);
    EXPECT_EQ(store.groups(KV_PRODUCT_9)[0].members, (std::vector<std::int32_t>{83886083}));
    ASSERT_EQ(store.groups(KV_PRODUCT_71_32).size(), 1u);
    EXPECT_EQ(store.groups(KV_PRODUCT_71_32)[0].name, L"G1");
    EXPECT_EQ(store.groups(KV_PRODUCT_71_32)[0].members, (std::vector<std::int32_t>{5}));
    EXPECT_EQ(store.groups(KV_PRODUCT_71_64)[0].members, (std::vector<std::int32_t>{16777222}));
    EXPECT_TRUE(std::filesystem::exists(dir / "data" / "groupsV2"));
    EXPECT_TRUE(std::filesystem::exists(dir / "data" / "groups")) << "the old file is kept";
}

TEST(GroupStore, MigrationDropsAGroupLeftWithoutAndroid9MembersAndForeignIds) {
    TempDir dir;
    writeFile(dir / "data" / "groups", "OnlyOld|3|\r\nForeign|167772161|");
    GroupStore store(dir / "data");
    store.load();
    EXPECT_TRUE(store.groups(KV_PRODUCT_9).empty());
    ASSERT_EQ(store.groups(KV_PRODUCT_71_32).size(), 1u);
    EXPECT_TRUE(store.groups(KV_PRODUCT_14).empty()) << "ids of line 4 are not migrated";
}

TEST(GroupStore, MalformedLinesAreReadAsFarAsTheyGo) {
    GroupStore store("unused");
    store.parse("\r\nvantor5_32\r\nG2|x|12|expand=0\r\nnot-a-section\r\nG3||left=|top=7|width=abc|size=9\r\n\r\n"
                "vantor3\r\nsolo|",
                KV_PRODUCT_14);
    const auto& line0 = store.groups(KV_PRODUCT_71_32);
    ASSERT_EQ(line0.size(), 2u) << "an unknown single word keeps the current section";
    EXPECT_EQ(line0[0].members, (std::vector<std::int32_t>{12}));
    EXPECT_FALSE(line0[0].expand);
    EXPECT_EQ(line0[0].left, 0);
    EXPECT_EQ(line0[1].top, 7);
    EXPECT_EQ(line0[1].width, 0);
    EXPECT_TRUE(line0[1].expand);
    EXPECT_EQ(store.groups(KV_PRODUCT_51).size(), 1u);
}

TEST(GroupStore, EveryFieldRoundTripsThroughTheFile) {
    TempDir dir;
    {
        GroupStore store(dir / "data");
        store.createGroup(KV_PRODUCT_71_32, L"Group1", L"");
        store.moveToGroup(KV_PRODUCT_71_32, {3, 7}, L"Group1");
        store.createGroup(KV_PRODUCT_14, L"\u00E9quipe", L"");
        store.moveToGroup(KV_PRODUCT_14, {167772161}, L"\u00E9quipe");
        store.setGroupRect(KV_PRODUCT_14, L"\u00E9quipe", -5, 10, 800, 600);
        store.createGroup(KV_PRODUCT_9, L"Empty", L"");
        EXPECT_TRUE(store.save());
        EXPECT_NE(readFile(dir / "data" / "groupsV2").find("\r\nGroup1|3|7||left=0|top=0|width=0|height=0|expand=1"),
                  std::string::npos);
        EXPECT_NE(readFile(dir / "data" / "groupsV2").find("\r\nEmpty||left=0"), std::string::npos);
    }
    GroupStore again(dir / "data");
    again.load();
    EXPECT_TRUE(again.v2FilePresent());
    const Group* g = again.find(KV_PRODUCT_14, L"\u00E9quipe");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->members, (std::vector<std::int32_t>{167772161}));
    EXPECT_EQ(std::tie(g->left, g->top, g->width, g->height), std::make_tuple(-5, 10, 800, 600));
    EXPECT_EQ(again.find(KV_PRODUCT_71_32, L"Group1")->members, (std::vector<std::int32_t>{3, 7}));
    EXPECT_TRUE(again.find(KV_PRODUCT_9, L"Empty")->members.empty());
}

TEST(GroupStore, GeneratedNamesTakeTheFirstFreeNumber) {
    TempDir dir;
    GroupStore store(dir / "data");
    store.createGroup(KV_PRODUCT_9, L"Group1", L"");
    EXPECT_EQ(store.createGroup(KV_PRODUCT_9, L"", L"Group")->name, L"Group2");
    EXPECT_EQ(store.createGroup(KV_PRODUCT_9, L"", L"Group")->name, L"Group3");
    EXPECT_EQ(store.createGroup(KV_PRODUCT_14, L"", L"Group")->name, L"Group1") << "names are unique per line";
}

TEST(GroupStore, RenameAddsNumberedSuffixesOnlyForOtherGroupsNames) {
    TempDir dir;
    GroupStore store(dir / "data");
    for (const wchar_t* n : {L"A", L"B", L"B(2)"}) store.createGroup(KV_PRODUCT_9, n, L"");
    EXPECT_EQ(store.renameGroup(KV_PRODUCT_9, L"A", L"B"), std::wstring(L"B(3)"));
    EXPECT_EQ(store.renameGroup(KV_PRODUCT_9, L"B(3)", L"B(3)"), L"B(3)") << "its own name is no clash";
    EXPECT_EQ(store.renameGroup(KV_PRODUCT_9, L"missing", L"Z"), L"Z");
    EXPECT_EQ(store.find(KV_PRODUCT_9, L"Z"), nullptr);
}

TEST(GroupStore, MovingRemovingAndDroppingMembers) {
    TempDir dir;
    GroupStore store(dir / "data");
    store.createGroup(KV_PRODUCT_9, L"A", L"");
    store.createGroup(KV_PRODUCT_9, L"B", L"");
    store.moveToGroup(KV_PRODUCT_9, {1, 2, 3}, L"A");
    store.moveToGroup(KV_PRODUCT_9, {2}, L"B");
    EXPECT_EQ(store.find(KV_PRODUCT_9, L"A")->members, (std::vector<std::int32_t>{1, 3}));
    EXPECT_EQ(store.find(KV_PRODUCT_9, L"B")->members, (std::vector<std::int32_t>{2}));
    store.removeFromGroup(KV_PRODUCT_9, L"B", 1); // not in B: nothing happens
    store.removeFromGroup(KV_PRODUCT_9, L"", 3);
    EXPECT_EQ(store.find(KV_PRODUCT_9, L"A")->members, (std::vector<std::int32_t>{1}));
    store.removeFromGroups(KV_PRODUCT_9, {1, 2});
    EXPECT_TRUE(store.find(KV_PRODUCT_9, L"A")->members.empty());
    EXPECT_TRUE(store.find(KV_PRODUCT_9, L"B")->members.empty());
}

TEST(GroupStore, AGeneratedNameTheFileCannotHoldMakesNoGroup) {
    TempDir dir;
    testing_support::LogCapture log;
    GroupStore store(dir / "data");
    EXPECT_EQ(store.createGroup(KV_PRODUCT_14, L"", L"a|b "), nullptr);
    EXPECT_TRUE(store.groups(KV_PRODUCT_14).empty());
    EXPECT_TRUE(log.contains("KVMultiModel::createGroup", L"generated group name refused: a|b 1"));
}

TEST(GroupStore, DeletingAGroupAndItsExpandFlagReachTheFileAtOnce) {
    TempDir dir;
    {
        GroupStore store(dir / "data");
        store.createGroup(KV_PRODUCT_14, L"A", L"");
        store.createGroup(KV_PRODUCT_14, L"B", L"");
        store.moveToGroup(KV_PRODUCT_14, {7}, L"A");
        store.setGroupExpand(KV_PRODUCT_14, L"B", false);
        store.removeGroup(KV_PRODUCT_14, L"A");
        store.removeGroup(KV_PRODUCT_14, L"missing");
    }
    GroupStore reread(dir / "data");
    reread.load();
    ASSERT_EQ(reread.groups(KV_PRODUCT_14).size(), 1u);
    EXPECT_EQ(reread.groups(KV_PRODUCT_14)[0].name, L"B");
    EXPECT_FALSE(reread.groups(KV_PRODUCT_14)[0].expand);
}

TEST(GroupStore, NamesThatWouldReadBackAsOtherFieldsOrLinesAreRefusedWhereNamesAreMade) {
    const testing_support::LogCapture log;
    TempDir dir;
    GroupStore store(dir / "data");
    ASSERT_NE(store.createGroup(KV_PRODUCT_9, L"Keep", L""), nullptr);
    store.moveToGroup(KV_PRODUCT_9, {5}, L"Keep");
    const std::string before = readFile(dir / "data" / "groupsV2");
    for (const wchar_t* name : {L"a|5", L"|", L"two\r\nlines", L"cr\rlf", L"lf\n", L"\r\nvantor14"}) {
        EXPECT_EQ(model::groupNameRefusal(name), L"multi_group_name_separator") << name;
        EXPECT_EQ(store.createGroup(KV_PRODUCT_9, name, L""), nullptr) << name;
        EXPECT_FALSE(store.renameGroup(KV_PRODUCT_9, L"Keep", name).has_value()) << name;
    }
    EXPECT_EQ(store.groups(KV_PRODUCT_9).size(), 1u);
    EXPECT_EQ(store.groups(KV_PRODUCT_9)[0].name, L"Keep");
    EXPECT_EQ(readFile(dir / "data" / "groupsV2"), before);
}

TEST(GroupStore, EveryNameTheStoreAcceptsReadsBackAsItselfWithItsMembers) {
    const std::wstring names[] = {L"Group1",    L"\u00E9quipe \u4E2D\u6587 \U0001F600",
                                  L" spaced ",  L"\ttab",
                                  L"vantor9",   L"vantor14",
                                  L"123",       L"left=5",
                                  L"expand=0",  L"a=b=c",
                                  L"Group1(2)", L"..\\x",
                                  L"%s %d",     L"\"quoted\"",
                                  L"\u200Fbidi"};
    TempDir dir;
    {
        GroupStore store(dir / "data");
        std::int32_t id = 1;
        for (const std::wstring& name : names) {
            ASSERT_TRUE(model::groupNameRefusal(name).empty()) << name;
            ASSERT_NE(store.createGroup(KV_PRODUCT_71_32, name, L""), nullptr);
            store.moveToGroup(KV_PRODUCT_71_32, {id++}, name);
        }
        ASSERT_NE(store.createGroup(KV_PRODUCT_9, L"before", L""), nullptr);
        ASSERT_FALSE(store.renameGroup(KV_PRODUCT_9, L"before", L"left=1|").has_value());
        ASSERT_EQ(store.renameGroup(KV_PRODUCT_9, L"before", L"vantor3"), std::wstring(L"vantor3"));
    }
    GroupStore again(dir / "data");
    again.load();
    const auto& groups = again.groups(KV_PRODUCT_71_32);
    ASSERT_EQ(groups.size(), std::size(names));
    for (std::size_t i = 0; i < groups.size(); ++i) {
        EXPECT_EQ(groups[i].name, names[i]);
        EXPECT_EQ(groups[i].members, std::vector<std::int32_t>{static_cast<std::int32_t>(i + 1)}) << names[i];
    }
    ASSERT_EQ(again.groups(KV_PRODUCT_9).size(), 1u);
    EXPECT_EQ(again.groups(KV_PRODUCT_9)[0].name, L"vantor3");
    EXPECT_TRUE(again.groups(KV_PRODUCT_51).empty()) << "a group named like a section is no section";
}
