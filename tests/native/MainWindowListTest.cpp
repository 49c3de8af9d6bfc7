// The list a user works in, driven through the main window: the sort menu, the search box, the selection
// boxes and the batch bar, group rows and their commands, and the move-to-group dialog.

#include <gtest/gtest.h>

#include "core/lang/LanguageStrings.h"
#include "support/MainFrameFixture.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/Edit.h"
#include "ui/main/ListOrder.h"
#include "ui/main/RowLook.h"

using namespace mainui;
using testing_support::id14;

namespace {

class MainWindowList : public testing_support::MainFrameFixture {
protected:
    MainWindowList() {
        common::lang::setLanguageStrings(
            {{L"multiplay_selected_count", L"Selected: {count}"}, {L"multi_new_groupName", L"Group "}});
    }
    ~MainWindowList() override { common::lang::setLanguageStrings({}); }
    ui::Option& box(std::int32_t id) { return *row(id).part<ui::Option>(L"optionSel"); }
    ui::Option& selectAllBox() { return *win().find<ui::Option>(L"btnSelAll"); }
    std::wstring selectAllLook() { return selectAllBox().normalImage().file; }
    // Groups of line 14 made in the store before the window opens.
    void group(const std::wstring& name, std::vector<int> indexes) {
        std::vector<std::int32_t> ids;
        for (int i : indexes) ids.push_back(id14(i));
        ASSERT_NE(model.groups().createGroup(KV_PRODUCT_14, name, L""), nullptr);
        model.groups().moveToGroup(KV_PRODUCT_14, ids, name);
    }
    KVMultiGroupMainItem& groupRow(std::wstring_view name) {
        KVMultiGroupMainItem* g = frame->findGroupRow(name);
        EXPECT_NE(g, nullptr);
        return *g;
    }
    bool clickGroup(std::wstring_view name, const wchar_t* part) {
        win().layout();
        ui::Control* c = groupRow(name).part(part);
        if (!c || !c->isShown()) return false;
        const ui::Rect rc = c->rect();
        host.clickAt(win(), {rc.left + rc.width() / 2, rc.top + rc.height() / 2});
        return true;
    }
    // The list as "[group]" and index entries, shown rows only.
    std::vector<std::wstring> shownList() {
        std::vector<std::wstring> out;
        auto* list = win().find<ui::List>(L"listVm");
        for (std::size_t i = 0; i < list->count(); ++i) {
            if (!list->at(i)->isShown()) continue;
            if (auto* g = dynamic_cast<KVMultiGroupMainItem*>(list->at(i))) out.push_back(L"[" + g->groupName() + L"]");
            if (auto* r = dynamic_cast<KVMultiMainItem*>(list->at(i)))
                out.push_back(std::to_wstring(r->id() & 0xFFFFFF));
        }
        return out;
    }
    model::GroupStore storedGroups() {
        model::GroupStore stored(program / "data");
        stored.load();
        return stored;
    }
    // Indexes of the instance rows in list order.
    std::vector<int> shownIndexes() {
        std::vector<int> indexes;
        auto* list = win().find<ui::List>(L"listVm");
        for (std::size_t i = 0; i < list->count(); ++i)
            if (auto* r = dynamic_cast<KVMultiMainItem*>(list->at(i)); r && r->isShown())
                indexes.push_back(r->id() & 0xFFFFFF);
        return indexes;
    }
};

TEST_F(MainWindowList, TheSortMenuMarksTheModeAndAChoiceReordersStoresAndSwapsTheImage) {
    addInstance(KV_PRODUCT_14, 1, L"cherry");
    addInstance(KV_PRODUCT_14, 2, L"apple");
    addInstance(KV_PRODUCT_14, 3, L"Banana");
    open();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{1, 2, 3}));
    ASSERT_TRUE(host.click(win(), L"sortBtn"));
    ui::RQMenuWnd* menu = frame->currentMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->items().size(), 4u);
    EXPECT_TRUE(menu->items()[0].checked);
    EXPECT_EQ(menu->items()[3].text, L"multiplay_menu_sort_name_down");

    ASSERT_TRUE(chooseMenu(L"MENU_SORT_NAME_DOWN"));
    EXPECT_EQ(shownIndexes(), (std::vector<int>{1, 3, 2}));
    EXPECT_EQ(players.own().settings().get(common::settings::multiPlayerSortV2), 3);
    EXPECT_EQ(win().find<ui::Button>(L"sortBtn")->normalImage().file, L"multiplayer_all/sort_up.png");

    ASSERT_TRUE(host.click(win(), L"sortBtn"));
    EXPECT_TRUE(frame->currentMenu()->items()[3].checked);
    ASSERT_TRUE(chooseMenu(L"MENU_SORT_NAME_UP"));
    EXPECT_EQ(shownIndexes(), (std::vector<int>{2, 3, 1}));

    frame.reset();
    open();
    EXPECT_EQ(shownIndexes(), (std::vector<int>{2, 3, 1})) << "the mode lasts across runs";
}

TEST_F(MainWindowList, SearchingListsTheIndexAndEveryNameContainingTheTextHighlighted) {
    addInstance(KV_PRODUCT_14, 3, L"alpha");
    addInstance(KV_PRODUCT_14, 13, L"beta");
    addInstance(KV_PRODUCT_14, 4, L"farm 3");
    addInstance(KV_PRODUCT_14, 5, L"Farm");
    open();
    ASSERT_TRUE(host.click(win(), L"searchBtn"));
    for (const wchar_t* hidden : {L"searchBtn", L"sortBtn", L"addGroupBtn", L"otherSetupBtn"})
        EXPECT_FALSE(host.shown(win(), hidden)) << hidden;
    EXPECT_TRUE(host.shown(win(), L"searchLayout"));
    EXPECT_EQ(win().focus(), win().findControl(L"searchEdit"));
    EXPECT_FALSE(host.shown(win(), L"searchClearBtn"));

    host.type(win(), L"3");
    EXPECT_EQ(shownIndexes(), (std::vector<int>{3, 4})) << "index 3 and the name holding 3, not index 13";
    EXPECT_EQ(row(id14(4)).part(L"lableNameControl")->text(), L"farm <c ffdd00>3</c>");
    EXPECT_TRUE(host.shown(win(), L"searchClearBtn"));
    host.press(win(), ui::Key::Back);
    host.type(win(), L"farm");
    EXPECT_EQ(shownIndexes(), (std::vector<int>{4})) << "case-sensitive";

    ASSERT_TRUE(host.click(win(), L"searchClearBtn"));
    EXPECT_EQ(host.text(win(), L"searchEdit"), L"");
    EXPECT_EQ(shownIndexes(), (std::vector<int>{3, 4, 5, 13}));
    EXPECT_EQ(win().focus(), win().findControl(L"searchEdit")) << "the box keeps the focus after clearing";
    EXPECT_TRUE(host.shown(win(), L"searchLayout"));

    win().setFocus(nullptr); // an empty box losing the focus ends the search
    EXPECT_FALSE(host.shown(win(), L"searchLayout"));
    EXPECT_TRUE(host.shown(win(), L"searchBtn"));
    EXPECT_TRUE(host.shown(win(), L"sortBtn"));
    EXPECT_FALSE(host.shown(win(), L"otherSetupBtn")) << "line 14 has no other settings";
}

TEST_F(MainWindowList, ABoxWithTextKeepsTheSearchWhenItLosesTheFocusAndATabSwitchEndsIt) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    addInstance(KV_PRODUCT_9, 2, L"two");
    open(KV_PRODUCT_14);
    ASSERT_TRUE(host.click(win(), L"searchBtn"));
    host.type(win(), L"x");
    EXPECT_TRUE(shownIndexes().empty());
    win().setFocus(nullptr);
    EXPECT_TRUE(host.shown(win(), L"searchLayout"));
    ASSERT_TRUE(host.click(win(), L"product9Btn"));
    EXPECT_FALSE(host.shown(win(), L"searchLayout"));
    EXPECT_EQ(host.text(win(), L"searchEdit"), L"");
    EXPECT_EQ(shownIndexes(), std::vector<int>{2});
    EXPECT_TRUE(host.shown(win(), L"otherSetupBtn")) << "line 9 has other settings";
}

TEST_F(MainWindowList, ARowClickStartsTheBatchBarWhichLastsWhileAnythingIsChecked) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    open();
    EXPECT_FALSE(host.shown(win(), L"batchOpBar"));
    EXPECT_FALSE(box(id14(1)).isShown()) << "boxes show with the batch bar";
    ASSERT_TRUE(click(row(id14(1)), L"btnBackground"));
    EXPECT_TRUE(box(id14(1)).selected());
    for (const wchar_t* shown : {L"batchOpBar", L"btnSelAll"}) EXPECT_TRUE(host.shown(win(), shown)) << shown;
    for (const wchar_t* hidden : {L"btnAddVm", L"btnSelAllHoverLayout", L"addGroupBtn", L"sortBtn"})
        EXPECT_FALSE(host.shown(win(), hidden)) << hidden;
    EXPECT_TRUE(box(id14(3)).isShown());
    ASSERT_TRUE(click(row(id14(2)), L"optionSel"));
    EXPECT_EQ(frame->selectedIds(), (std::vector<std::int32_t>{id14(1), id14(2)}));

    struct Step {
        int index;
        bool checkedAfter;
        const wchar_t* count;
        bool all;
        const wchar_t* look;
        bool batchBar;
    };
    const Step steps[] = {
        {3, true, L"Selected: 3", true, L"common9/checkbox_normal.png", true},
        {1, false, L"Selected: 2", false, L"common9/checkbox_part_selected_normal.png", true},
        {2, false, L"Selected: 1", false, L"common9/checkbox_part_selected_normal.png", true},
        {3, false, L"Selected: 0", false, L"common9/checkbox_normal.png", false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.index);
        ASSERT_TRUE(click(row(id14(s.index)), L"optionSel"));
        EXPECT_EQ(box(id14(s.index)).selected(), s.checkedAfter);
        EXPECT_EQ(host.text(win(), L"btnSelAll"), s.count);
        EXPECT_EQ(selectAllBox().selected(), s.all);
        EXPECT_EQ(selectAllLook(), s.look);
        EXPECT_EQ(frame->batchBarShown(), s.batchBar) << "clearing one of several keeps the bar";
        EXPECT_EQ(host.shown(win(), L"batchOpBar"), s.batchBar);
    }
    EXPECT_TRUE(host.shown(win(), L"btnAddVm"));
    EXPECT_TRUE(host.shown(win(), L"sortBtn"));
}

TEST_F(MainWindowList, SelectAllSkipsRowsBeingMadeAndClearingEndsTheBatchBar) {
    for (int i = 1; i <= 5; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    open();
    row(id14(2)).setStatus(model::kStatusBeingCopied);
    row(id14(3)).setStatus(kRowCopyFailed);
    row(id14(4)).setStatus(model::kStatusRunning);
    row(id14(5)).setStatus(model::kStatusCreating);
    ASSERT_TRUE(host.click(win(), L"btnSelAllHover"));
    EXPECT_TRUE(frame->batchBarShown());
    EXPECT_EQ(frame->selectedIds(), (std::vector<std::int32_t>{id14(1), id14(4)}));
    EXPECT_EQ(host.text(win(), L"btnSelAll"), L"Selected: 5") << "select-all counts every row it shows";

    ASSERT_TRUE(host.click(win(), L"btnSelAll"));
    EXPECT_TRUE(frame->selectedIds().empty());
    EXPECT_FALSE(frame->batchBarShown());
    EXPECT_FALSE(win().find<ui::Option>(L"btnSelAllHover")->selected());
}

TEST_F(MainWindowList, GroupsComeFirstByNameWithTheirMembersAndCollapsedGroupsStayCollapsedOnRestart) {
    for (int i = 1; i <= 6; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    group(L"beta", {5, 2});
    group(L"Alpha", {6, 3});
    open();
    using L = std::vector<std::wstring>;
    EXPECT_EQ(shownList(), (L{L"[Alpha]", L"3", L"6", L"[beta]", L"2", L"5", L"1", L"4"}));
    EXPECT_EQ(row(id14(3)).groupName(), L"Alpha");
    EXPECT_TRUE(row(id14(3)).part(L"groupIcon")->isShown());

    ASSERT_TRUE(clickGroup(L"Alpha", L"groupExpandBtn"));
    EXPECT_EQ(shownList(), (L{L"[Alpha]", L"[beta]", L"2", L"5", L"1", L"4"}));
    EXPECT_EQ(groupRow(L"Alpha").part<ui::Button>(L"groupExpandBtn")->normalImage().file,
              L"multiplayer_all/pack_up.png");
    EXPECT_FALSE(storedGroups().find(KV_PRODUCT_14, L"Alpha")->expand) << "saved at once";

    frame.reset();
    players.own().settings().set(common::settings::multiPlayerSortV2, static_cast<int>(kSortIndexDown));
    open();
    EXPECT_EQ(shownList(), (L{L"[Alpha]", L"[beta]", L"5", L"2", L"4", L"1"})) << "collapsed after a restart";
    frame.reset();
    players.own().settings().set(common::settings::multiPlayerSortV2, static_cast<int>(kSortNameDown));
    open();
    EXPECT_EQ(shownList(), (L{L"[beta]", L"5", L"2", L"[Alpha]", L"4", L"1"}));
}

TEST_F(MainWindowList, WhileSearchingNoGroupRowsShowAndTheirMembersAreListedFlat) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    group(L"G", {3});
    model.groups().setGroupExpand(KV_PRODUCT_14, L"G", false);
    open();
    ASSERT_TRUE(host.click(win(), L"searchBtn"));
    host.type(win(), L"vm");
    EXPECT_EQ(shownList(), (std::vector<std::wstring>{L"1", L"2", L"3"}));
    EXPECT_EQ(frame->findGroupRow(L"G"), nullptr);
    host.press(win(), ui::Key::Back);
    host.press(win(), ui::Key::Back);
    EXPECT_EQ(shownList(), (std::vector<std::wstring>{L"[G]", L"1", L"2"})) << "an empty text shows them again";
}

TEST_F(MainWindowList, RenamingAGroupInPlaceFollowsEveryRule) {
    common::lang::setLanguageStrings({{L"multi_group_name_separator", L"No bars"}});
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    group(L"A", {1});
    group(L"B", {});
    open();
    struct Case {
        const wchar_t* typed;
        const wchar_t* stored; // the name afterwards
        const wchar_t* notice;
    };
    const Case cases[] = {
        {L"", L"A", nullptr},     {L"A", L"A", nullptr},       {L"x|y", L"A", L"No bars"},
        {L"B", L"B(2)", nullptr}, {L"Farm", L"Farm", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        KVMultiGroupMainItem& g = groupRow(frame->findGroupRow(L"A") ? L"A" : L"B(2)");
        ASSERT_TRUE(clickGroup(g.groupName(), L"lableNameGroupBtn"));
        ASSERT_TRUE(g.part(L"editNameGroup")->isShown());
        g.part(L"editNameGroup")->setText(c.typed);
        host.press(win(), ui::Key::Return);
        EXPECT_FALSE(g.part(L"editNameGroup")->visible());
        EXPECT_TRUE(g.part(L"editlayout")->visible());
        EXPECT_EQ(boxText(), c.notice ? c.notice : L"");
        if (c.notice) {
            ASSERT_TRUE(pressBoxButton(1));
        }
        if (std::wstring_view(c.stored) == L"A") continue;
        EXPECT_EQ(g.groupName(), c.stored);
        EXPECT_EQ(g.part(L"lableNameGroup")->text(), c.stored);
        EXPECT_EQ(row(id14(1)).groupName(), c.stored);
        EXPECT_NE(storedGroups().find(KV_PRODUCT_14, c.stored), nullptr);
    }
    EXPECT_EQ(storedGroups().find(KV_PRODUCT_14, L"Farm")->members, std::vector<std::int32_t>{id14(1)});
}

TEST_F(MainWindowList, ANewGroupGetsTheNextDefaultNameAndEndsTheHint) {
    players.own().settings().set(common::settings::groupNewUser, true);
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    open();
    auto& add = *win().find<ui::Button>(L"addGroupBtn");
    EXPECT_FALSE(add.bkImage().file.empty()) << "a line without groups hints at the button";
    ASSERT_TRUE(host.click(win(), L"addGroupBtn"));
    ASSERT_TRUE(host.click(win(), L"addGroupBtn"));
    KVMultiGroupMainItem& added = groupRow(L"Group 2");
    EXPECT_TRUE(added.part(L"redPointControl")->isShown());
    auto* list = win().find<ui::List>(L"listVm");
    EXPECT_EQ(list->at(list->count() - 1), &added) << "appended until the next rebuild";
    EXPECT_TRUE(add.bkImage().file.empty());
    EXPECT_FALSE(players.own().settings().get(common::settings::groupNewUser));
    EXPECT_EQ(storedGroups().groups(KV_PRODUCT_14).size(), 2u);

    frame.reset();
    players.own().settings().set(common::settings::groupNewUser, true);
    open();
    EXPECT_FALSE(players.own().settings().get(common::settings::groupNewUser)) << "a line with groups ends the hint";

    common::lang::setLanguageStrings({{L"multi_new_groupName", L"a|"}, {L"multi_group_name_separator", L"No bars"}});
    ASSERT_TRUE(host.click(win(), L"addGroupBtn"));
    EXPECT_EQ(boxText(), L"No bars") << "a default name the groups file cannot hold";
    EXPECT_EQ(storedGroups().groups(KV_PRODUCT_14).size(), 2u);
}

TEST_F(MainWindowList, TheGroupMenuDeletesAnEmptyGroupAtOnceAndAsksForOneWithMembers) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    group(L"Empty", {});
    group(L"Full", {1});
    model.groups().setGroupExpand(KV_PRODUCT_14, L"Full", false);
    open();
    ASSERT_TRUE(clickGroup(L"Empty", L"moreBtnGroup"));
    const auto& items = frame->currentMenu()->items();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_TRUE(items[0].enabled);
    EXPECT_EQ(items[1].text, L"groupcontrol_show_frame");
    EXPECT_FALSE(items[1].enabled) << "the group control window does not exist yet";
    ASSERT_TRUE(chooseMenu(L"delete_group"));
    EXPECT_EQ(boxText(), L"");
    EXPECT_EQ(frame->findGroupRow(L"Empty"), nullptr);
    EXPECT_EQ(storedGroups().find(KV_PRODUCT_14, L"Empty"), nullptr);

    ASSERT_TRUE(clickGroup(L"Full", L"moreBtnGroup"));
    ASSERT_TRUE(chooseMenu(L"delete_group"));
    EXPECT_EQ(boxText(), L"multi_delete_group_tip");
    ASSERT_TRUE(pressBoxButton(1)); // cancel
    EXPECT_NE(frame->findGroupRow(L"Full"), nullptr);
    openGroupFrames.insert(L"Full");
    ASSERT_TRUE(clickGroup(L"Full", L"moreBtnGroup"));
    EXPECT_FALSE(frame->currentMenu()->items()[0].enabled) << "not while its group window is open";
    EXPECT_EQ(frame->currentMenu()->items()[1].text, L"groupcontrol_close_frame");
    openGroupFrames.clear();
    ASSERT_TRUE(clickGroup(L"Full", L"moreBtnGroup"));
    ASSERT_TRUE(chooseMenu(L"delete_group"));
    ASSERT_TRUE(pressBoxButton(2));
    EXPECT_EQ(frame->findGroupRow(L"Full"), nullptr);
    EXPECT_TRUE(row(id14(1)).isShown()) << "the member of the collapsed group shows again";
    EXPECT_EQ(row(id14(1)).groupName(), L"");
    EXPECT_TRUE(storedGroups().groups(KV_PRODUCT_14).empty());
}

TEST_F(MainWindowList, MovingOutOfAGroupLeavesTheRowInPlaceWithoutAGroup) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    addInstance(KV_PRODUCT_14, 2, L"vm2");
    group(L"G", {1, 2});
    open();
    frame->moveOutOfGroup({id14(1)});
    EXPECT_EQ(row(id14(1)).groupName(), L"");
    EXPECT_FALSE(row(id14(1)).part(L"groupIcon")->isShown());
    EXPECT_EQ(groupRow(L"G").memberRows().size(), 1u);
    EXPECT_EQ(storedGroups().find(KV_PRODUCT_14, L"G")->members, std::vector<std::int32_t>{id14(2)});
}

TEST_F(MainWindowList, AGroupIsSelectedAsAWholeAndItsBoxFollowsItsMembers) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    group(L"G", {1, 2});
    model.groups().setGroupExpand(KV_PRODUCT_14, L"G", false);
    open();
    ASSERT_TRUE(clickGroup(L"G", L"btnBackgroundGroup"));
    EXPECT_TRUE(groupRow(L"G").expanded()) << "checking a collapsed group opens it";
    EXPECT_EQ(frame->selectedIds(), (std::vector<std::int32_t>{id14(1), id14(2)}));
    EXPECT_TRUE(frame->batchBarShown());
    EXPECT_EQ(host.text(win(), L"btnSelAll"), L"Selected: 2");
    ASSERT_TRUE(click(row(id14(1)), L"optionSel"));
    EXPECT_FALSE(groupRow(L"G").checked());
    EXPECT_TRUE(groupRow(L"G").partlyChecked());
    ASSERT_TRUE(clickGroup(L"G", L"optionGroupSel"));
    EXPECT_TRUE(groupRow(L"G").checked());
    EXPECT_FALSE(groupRow(L"G").partlyChecked());
    ASSERT_TRUE(click(row(id14(3)), L"optionSel"));
    EXPECT_TRUE(win().find<ui::Option>(L"btnSelAll")->selected()) << "every row and group checked";
    ASSERT_TRUE(clickGroup(L"G", L"optionGroupSel"));
    EXPECT_EQ(frame->selectedIds(), std::vector<std::int32_t>{id14(3)});
    EXPECT_TRUE(frame->batchBarShown());
}

TEST(KVMoveGroupWnd, PreselectsTheGroupHoldingTheInstanceOrMostOfTheInstances) {
    const auto groupOf = [](std::vector<std::int32_t> members) {
        model::Group g;
        g.members = std::move(members);
        return g;
    };
    const std::vector<model::Group> groups{groupOf({1, 2}), groupOf({3, 4, 5}), groupOf({1, 6})};
    struct Case {
        std::vector<std::int32_t> ids;
        int expected;
    };
    const Case cases[] = {
        {{1}, 2},       // one id: the last group in store order holding it
        {{3}, 1},       //
        {{9}, 0},       // in no group: the first
        {{1, 2, 3}, 0}, // several: the group holding most of them
        {{3, 4, 6}, 1}, //
        {{2, 6}, 0},    // a tie: the earlier group
        {{9, 10}, 0},   // none held
    };
    for (const Case& c : cases) EXPECT_EQ(KVMoveGroupWnd::preselected(groups, c.ids), c.expected) << c.ids.size();
    EXPECT_EQ(KVMoveGroupWnd::preselected({}, {1}), 0);
}

TEST_F(MainWindowList, TheMoveDialogListsTheGroupsInStoreOrderAndMovesOnConfirm) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    group(L"Zoo", {});
    group(L"Farm", {2});
    open();
    frame->openMoveToGroup({id14(1), id14(2)});
    KVMoveGroupWnd* dialog = frame->moveGroupWnd();
    ASSERT_NE(dialog, nullptr);
    ui::Window& w = dialog->window();
    EXPECT_TRUE(w.isOpen());
    EXPECT_TRUE(win().inputBlocked()) << "modal";
    EXPECT_TRUE(win().overlayShown());
    auto* combo = w.find<ui::Combo>(L"mnqCombo");
    ASSERT_EQ(combo->items().size(), 2u);
    EXPECT_EQ(combo->items()[0].text, L"Zoo");
    EXPECT_EQ(combo->items()[1].tag, 1);
    EXPECT_EQ(combo->selectedIndex(), 1) << "the group holding most of them";
    combo->selectItem(0);
    ASSERT_TRUE(host.click(w, L"confirmBtn"));
    EXPECT_FALSE(w.isOpen());
    EXPECT_FALSE(win().overlayShown());
    EXPECT_EQ(storedGroups().find(KV_PRODUCT_14, L"Zoo")->members, (std::vector<std::int32_t>{id14(1), id14(2)}));
    EXPECT_TRUE(storedGroups().find(KV_PRODUCT_14, L"Farm")->members.empty());
    EXPECT_EQ(shownList(), (std::vector<std::wstring>{L"[Farm]", L"[Zoo]", L"1", L"2", L"3"}));

    frame->openMoveToGroup({id14(3)});
    EXPECT_EQ(frame->moveGroupWnd(), dialog) << "made once";
    model.groups().removeGroup(KV_PRODUCT_14, L"Farm"); // the chosen group goes meanwhile
    model.groups().removeGroup(KV_PRODUCT_14, L"Zoo");
    ASSERT_TRUE(host.click(w, L"confirmBtn"));
    EXPECT_FALSE(w.isOpen());
    EXPECT_TRUE(storedGroups().groups(KV_PRODUCT_14).empty());

    frame->openMoveToGroup({id14(3)});
    EXPECT_EQ(boxText(), L"multi_nogroup") << "no group yet: offers to make one";
    ASSERT_TRUE(pressBoxButton(2));
    ASSERT_EQ(storedGroups().groups(KV_PRODUCT_14).size(), 1u);
    EXPECT_TRUE(storedGroups().groups(KV_PRODUCT_14)[0].members.empty()) << "nothing is moved";
    EXPECT_FALSE(w.isOpen());
}

TEST_F(MainWindowList, CancellingTheMoveDialogMovesNothing) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    group(L"G", {});
    open();
    frame->openMoveToGroup({id14(1)});
    ASSERT_TRUE(host.click(frame->moveGroupWnd()->window(), L"cancelBtn"));
    EXPECT_FALSE(win().overlayShown());
    EXPECT_FALSE(win().inputBlocked());
    EXPECT_TRUE(storedGroups().find(KV_PRODUCT_14, L"G")->members.empty());
}

} // namespace
