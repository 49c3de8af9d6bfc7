// The list a user works in, driven through the main window: the sort menu, the search box, the selection
// boxes and the batch bar, group rows and their commands, and the move-to-group dialog.

#include <gtest/gtest.h>

#include "core/lang/LanguageStrings.h"
#include "support/MainFrameFixture.h"
#include "toolkit/Button.h"
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

TEST_F(MainWindowList, SelectAllSkipsRowsBeingCopiedAndClearingEndsTheBatchBar) {
    for (int i = 1; i <= 4; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    open();
    row(id14(2)).setStatus(model::kStatusBeingCopied);
    row(id14(3)).setStatus(kRowCopyFailed);
    row(id14(4)).setStatus(model::kStatusRunning);
    ASSERT_TRUE(host.click(win(), L"btnSelAllHover"));
    EXPECT_TRUE(frame->batchBarShown());
    EXPECT_EQ(frame->selectedIds(), (std::vector<std::int32_t>{id14(1), id14(4)}));
    EXPECT_EQ(host.text(win(), L"btnSelAll"), L"Selected: 4") << "select-all counts every row it shows";

    ASSERT_TRUE(host.click(win(), L"btnSelAll"));
    EXPECT_TRUE(frame->selectedIds().empty());
    EXPECT_FALSE(frame->batchBarShown());
    EXPECT_FALSE(win().find<ui::Option>(L"btnSelAllHover")->selected());
}

} // namespace
