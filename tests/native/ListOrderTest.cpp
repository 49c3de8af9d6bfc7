// The main list's order and filter: every sort mode over ids, names and groups, the migration of the stored
// mode, and the search rule.

#include "ui/main/ListOrder.h"

#include <gtest/gtest.h>

#include <optional>

#include "support/TempDir.h"

using namespace mainui;

namespace {

constexpr std::int32_t id14(int index) {
    return (10 << 24) + index;
}

model::InstanceRecord record(int index, std::wstring name) {
    model::InstanceRecord r;
    r.id = id14(index);
    r.name = std::move(name);
    return r;
}

TEST(ListOrder, EveryModeOrdersInstancesByIdOrNameAndGroupsByName) {
    const model::InstanceRecord records[] = {record(2, L"beta"), record(10, L"Alpha"), record(1, L"alpha2"),
                                             record(7, L"beta")};
    model::Group g1, g2, g3;
    g1.name = L"farm";
    g2.name = L"Army";
    g3.name = L"bank";
    struct Case {
        SortMode mode;
        std::vector<int> indexes;
        std::vector<std::wstring> groups;
    };
    const Case cases[] = {
        {kSortIndexUp, {1, 2, 7, 10}, {L"Army", L"bank", L"farm"}},
        {kSortIndexDown, {10, 7, 2, 1}, {L"Army", L"bank", L"farm"}},
        // Case is ignored; equal names keep their id order.
        {kSortNameUp, {10, 1, 2, 7}, {L"Army", L"bank", L"farm"}},
        {kSortNameDown, {2, 7, 1, 10}, {L"farm", L"bank", L"Army"}},
        {42, {1, 2, 7, 10}, {L"Army", L"bank", L"farm"}}, // an unknown stored mode sorts like mode 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        std::vector<const model::InstanceRecord*> sorted;
        for (const auto& r : records) sorted.push_back(&r);
        sortInstances(sorted, c.mode);
        std::vector<int> indexes;
        for (const auto* r : sorted) indexes.push_back(r->id & 0xFFFFFF);
        EXPECT_EQ(indexes, c.indexes);
        std::vector<const model::Group*> groups{&g1, &g2, &g3};
        sortGroups(groups, c.mode);
        std::vector<std::wstring> names;
        for (const auto* g : groups) names.push_back(g->name);
        EXPECT_EQ(names, c.groups);
    }
}

TEST(ListOrder, TheModeIsDerivedOnceFromTheOlderSettingAndStored) {
    struct Case {
        std::optional<int> v2;
        std::optional<int> old;
        SortMode expected;
    };
    const Case cases[] = {
        {std::nullopt, std::nullopt, kSortIndexUp},
        {std::nullopt, 1, kSortNameUp},
        {std::nullopt, 5, kSortNameUp},
        {std::nullopt, 0, kSortIndexUp},
        {std::nullopt, -2, kSortIndexUp},
        {3, 1, kSortNameDown}, // a derived mode wins over the older setting
        {0, 1, kSortIndexUp},
    };
    for (const Case& c : cases) {
        testing_support::TempDir dir;
        common::GlobalSettings settings;
        settings.load(dir.path());
        if (c.v2) settings.set(common::settings::multiPlayerSortV2, *c.v2);
        if (c.old) settings.set(common::settings::multiPlayerSort, *c.old);
        if (c.v2 || c.old) {
            ASSERT_TRUE(settings.save());
        }
        EXPECT_EQ(currentSortMode(settings), c.expected);
        common::GlobalSettings reread;
        reread.load(dir.path());
        EXPECT_EQ(reread.get(common::settings::multiPlayerSortV2), static_cast<int>(c.expected)) << "stored";
    }
}

TEST(ListOrder, SearchMatchesTheIndexExactlyOrAnyPartOfTheNameWithCase) {
    struct Case {
        int index;
        const wchar_t* name;
        const wchar_t* text;
        bool matches;
    };
    const Case cases[] = {
        {3, L"farm", L"3", true},       {13, L"farm", L"3", false}, {13, L"farm 13", L"3", true},
        {0, L"v3x", L"3", true},        {3, L"farm", L"03", false}, {1, L"Farm", L"farm", false},
        {1, L"my farm", L"farm", true}, {5, L"x", L"", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesSearch(record(c.index, c.name), c.text), c.matches)
            << c.index << " " << c.name << " " << c.text;
}

TEST(ListOrder, SortCommandsAndImagesFollowTheTable) {
    EXPECT_EQ(sortModeOfCommand(L"MENU_SORT_NAME_DOWN"), kSortNameDown);
    EXPECT_EQ(sortModeOfCommand(L"MENU_ADD"), kSortModeCount);
    EXPECT_EQ(sortModeItem(kSortIndexDown).image, L"file='multiplayer_all\\sort_up.png' dest='4,4,28,28'");
    EXPECT_EQ(sortModeItem(kSortNameUp).image, L"file='multiplayer_all\\sort.png' dest='4,4,28,28'");
}

} // namespace
