// The main window's menus and the commands they run: which items each menu holds and enables, the instance
// commands, the batch start queue, batch stop and remove, arranging and the deferred removal.

#include <gtest/gtest.h>

#include "support/MainFrameFixture.h"
#include "ui/main/MenuRules.h"

using namespace testing_support;
using namespace std::chrono_literals;
using mainui::MenuEntry;
using mainui::OpenableWindows;

namespace {

std::vector<std::wstring> commands(const std::vector<MenuEntry>& entries, bool enabledOnly) {
    std::vector<std::wstring> out;
    for (const MenuEntry& e : entries)
        if (!enabledOnly || e.enabled) out.emplace_back(e.command);
    return out;
}

const OpenableWindows kAllWindows{true, true, true, true, true};

class MainWindowMenus : public MainFrameFixture {
protected:
    std::vector<std::vector<std::int32_t>> settingsOpened;
    std::vector<std::int32_t> copyOpened;
    std::vector<platform::WindowHandle> broughtForward;
    int topmost = 0;

    // The windows of later work stand in as recorders.
    void openAll() {
        moreServices = [this](FrameServices& extra) {
            extra.openSettings = [this](const std::vector<std::int32_t>& ids) { settingsOpened.push_back(ids); };
            extra.openCopyDialog = [this](std::int32_t source) { copyOpened.push_back(source); };
            extra.openAddDialog = [] {};
            extra.openBackup = [](std::int32_t) {};
            extra.openSetup = [] {};
            extra.bringForward = [this](platform::WindowHandle w) { broughtForward.push_back(w); };
            extra.makeTopmost = [this] { ++topmost; };
        };
        open();
    }
    void select(std::initializer_list<int> indexes) {
        // The boxes show with the batch bar, which a click on a row brings.
        for (int i : indexes)
            ASSERT_TRUE(click(row(id14(i)), frame->batchBarShown() ? L"optionSel" : L"btnBackground")) << i;
    }
    bool openRowMenu(int index) { return click(row(id14(index)), L"moreBtn") && frame->currentMenu(); }
    bool itemEnabled(std::wstring_view command) {
        const ui::RQMenuWnd* menu = frame->currentMenu();
        const auto* item = menu ? menu->item(command) : nullptr;
        return item && item->enabled;
    }
    void running(int index) {
        desktop.run(players.line(KV_PRODUCT_14), index);
        frame->refreshTick();
    }
    std::vector<int> startedIndexes() {
        std::vector<int> out;
        for (const auto& call : desktop.starts) out.push_back(call.index);
        return out;
    }
    void setInterval(int seconds) { players.own().settings().set(common::settings::batchStartInterval, seconds); }
    void advance(std::chrono::milliseconds by) {
        skew += by;
        loop.runPending();
    }
};

} // namespace

TEST(MenuRules, TheInstanceMenuEnablesItsItemsByStatus) {
    struct Case {
        int status;
        std::vector<std::wstring> enabled;
    };
    const std::vector<std::wstring> idle{L"setup", L"copy", L"save", L"shortcut", L"moveToGrouup", L"delete"};
    const std::vector<std::wstring> running{L"run", L"shortcut", L"moveToGrouup"};
    const std::vector<std::wstring> busy{L"shortcut", L"moveToGrouup"};
    std::vector<Case> cases{{0, idle}, {1, running}, {2, running}};
    for (int status = 3; status <= 12; ++status) cases.push_back({status, busy});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        EXPECT_EQ(commands(mainui::instanceMenu(c.status, false, kAllWindows), true), c.enabled);
    }
    EXPECT_EQ(commands(mainui::instanceMenu(0, false, kAllWindows), false),
              (std::vector<std::wstring>{L"setup", L"copy", L"run", L"save", L"shortcut", L"moveToGrouup", L"delete"}));
    EXPECT_EQ(commands(mainui::instanceMenu(1, true, kAllWindows), false)[6], L"moveOutGroup");
    // Windows that do not exist yet leave their items disabled.
    EXPECT_EQ(commands(mainui::instanceMenu(0, false, {}), true),
              (std::vector<std::wstring>{L"shortcut", L"moveToGrouup", L"delete"}));
}

TEST(MenuRules, TheBatchMenuNeedsASelectionAndRemoveNeedsNoneRunning) {
    struct Case {
        int selected;
        bool anyRunning;
        std::vector<std::wstring> enabled;
    };
    const Case cases[] = {
        {0, false, {}},
        {2, false, {L"MENU_BATCH", L"MENU_MOVE_GROUP", L"MENU_MOVEOUT_GROUP", L"MENU_REMOVE"}},
        {2, true, {L"MENU_BATCH", L"MENU_MOVE_GROUP", L"MENU_MOVEOUT_GROUP"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(commands(mainui::batchMenu(c.selected, c.anyRunning, kAllWindows), true), c.enabled);
    EXPECT_EQ(commands(mainui::sequenceMenu({}), true), (std::vector<std::wstring>{L"MENU_ALL", L"MENU_SELECTED"}));
    EXPECT_EQ(commands(mainui::mainMenu(kAllWindows), false), std::vector<std::wstring>{L"MENU_SETUP"});
    EXPECT_EQ(mainui::batchStartIntervalMs(5), 5000u);
    EXPECT_EQ(mainui::batchStartIntervalMs(0), 1000u) << "a stored 0 or less starts the rest one second apart";
    EXPECT_EQ(mainui::batchStartIntervalMs(-3), 1000u);
}

TEST_F(MainWindowMenus, TheRowMenuFollowsTheRowAndOffersMoveOutOnlyInAGroup) {
    for (int i = 1; i <= 2; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    model.groups().createGroup(KV_PRODUCT_14, L"Farm", L"");
    model.groups().moveToGroup(KV_PRODUCT_14, {id14(2)}, L"Farm");
    openAll();
    ASSERT_TRUE(openRowMenu(1));
    EXPECT_EQ(frame->currentMenu()->item(L"moveOutGroup"), nullptr);
    EXPECT_TRUE(itemEnabled(L"delete"));
    EXPECT_FALSE(itemEnabled(L"run"));
    ASSERT_TRUE(openRowMenu(2));
    EXPECT_NE(frame->currentMenu()->item(L"moveOutGroup"), nullptr);
    ASSERT_TRUE(chooseMenu(L"moveOutGroup"));
    EXPECT_TRUE(model.groups().find(KV_PRODUCT_14, L"Farm")->members.empty());

    running(1);
    ASSERT_TRUE(openRowMenu(1));
    EXPECT_FALSE(itemEnabled(L"delete"));
    ASSERT_TRUE(chooseMenu(L"run"));
    ASSERT_EQ(broughtForward.size(), 1u);
    EXPECT_EQ(broughtForward[0], model.findRecord(id14(1))->topWindow);
    ASSERT_TRUE(openRowMenu(2));
    ASSERT_TRUE(chooseMenu(L"setup"));
    EXPECT_EQ(settingsOpened, (std::vector<std::vector<std::int32_t>>{{id14(2)}}));
}

TEST_F(MainWindowMenus, WithoutTheLaterWindowsTheirItemsAndButtonsAreDisabled) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    open();
    ASSERT_TRUE(openRowMenu(1));
    for (const wchar_t* command : {L"setup", L"copy", L"save"}) EXPECT_FALSE(itemEnabled(command)) << command;
    for (const wchar_t* button : {L"btnSettingVm", L"btnBackupVm"}) EXPECT_FALSE(row(id14(1)).part(button)->enabled());
    ASSERT_TRUE(host.click(win(), L"btnAddVm"));
    EXPECT_FALSE(itemEnabled(L"MENU_ADD"));
    EXPECT_FALSE(itemEnabled(L"MENU_COPY"));
    ASSERT_TRUE(host.click(win(), L"menuBtn"));
    EXPECT_FALSE(itemEnabled(L"MENU_SETUP"));
}

TEST_F(MainWindowMenus, CopyWaitsWhileACopySeriesRuns) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    openAll();
    ASSERT_TRUE(host.click(win(), L"btnAddVm"));
    ASSERT_TRUE(chooseMenu(L"MENU_COPY"));
    EXPECT_EQ(copyOpened, std::vector<std::int32_t>{-1});
    frame->startCopySeries(id14(1), 2);
    frame->onInstanceCommand(id14(1), L"copy");
    EXPECT_EQ(boxText(), L"multi_wait_copying");
    EXPECT_EQ(copyOpened.size(), 1u);
}

TEST_F(MainWindowMenus, ABatchStartStartsOneAtOnceThenOnePerTickAndIgnoresASecondStart) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    setInterval(5);
    open();
    select({1, 2, 3});
    ASSERT_TRUE(host.click(win(), L"btnBatchLaunch"));
    EXPECT_EQ(startedIndexes(), std::vector<int>{1});
    advance(4900ms);
    EXPECT_EQ(startedIndexes(), std::vector<int>{1});
    ASSERT_TRUE(host.click(win(), L"btnBatchLaunch")); // ignored while the queue runs
    advance(100ms);
    EXPECT_EQ(startedIndexes(), (std::vector<int>{1, 2}));
    advance(5s);
    EXPECT_EQ(startedIndexes(), (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(frame->batchStartRunning());
    advance(5s);
    EXPECT_EQ(startedIndexes().size(), 3u);
}

TEST_F(MainWindowMenus, AStoredIntervalOfZeroStartsTheRestOneSecondApart) {
    for (int i = 1; i <= 2; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    setInterval(0);
    open();
    select({1, 2});
    frame->doBatchOpMenuCommand(L"MENU_RUN");
    advance(1s);
    EXPECT_EQ(startedIndexes(), (std::vector<int>{1, 2}));
}

TEST_F(MainWindowMenus, BatchStopAsksThenStopsEachSelectedInOrder) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    open();
    for (int i : {1, 3}) running(i);
    select({3, 1});
    ASSERT_TRUE(host.click(win(), L"btnBatchQuit"));
    EXPECT_EQ(boxText(), L"multiplay_quit_all_notice");
    ASSERT_TRUE(pressBoxButton(2));
    ASSERT_EQ(desktop.stops.size(), 2u);
    EXPECT_EQ(desktop.stops[0].index, 1) << "in list order";
    EXPECT_EQ(desktop.stops[1].index, 3);
}

TEST_F(MainWindowMenus, BatchRemoveIsDisabledOnceOneRunsAndOtherwiseReloadsTheModelOnce) {
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    model.groups().createGroup(KV_PRODUCT_14, L"Farm", L"");
    model.groups().moveToGroup(KV_PRODUCT_14, {id14(1)}, L"Farm");
    open();
    select({1, 2, 3});
    ASSERT_TRUE(host.click(win(), L"btnBatchMore"));
    EXPECT_TRUE(itemEnabled(L"MENU_REMOVE"));
    running(3);
    ASSERT_TRUE(host.click(win(), L"btnBatchMore"));
    EXPECT_FALSE(itemEnabled(L"MENU_REMOVE"));
    ASSERT_TRUE(click(row(id14(3)), L"optionSel")); // only 1 and 2 stay selected
    ASSERT_TRUE(host.click(win(), L"btnBatchMore"));
    ASSERT_TRUE(chooseMenu(L"MENU_REMOVE"));
    EXPECT_EQ(boxText(), L"multiplay_delete_selecteds_notice");
    const int reloadsBefore = log.count("KVMultiModel::reloadPlayerList", L"32 player size is");
    ASSERT_TRUE(pressBoxButton(2));
    EXPECT_EQ(log.count("KVMultiModel::reloadPlayerList", L"32 player size is") - reloadsBefore, 1);
    EXPECT_EQ(frame->findRow(id14(1)), nullptr);
    EXPECT_EQ(frame->findRow(id14(2)), nullptr);
    EXPECT_NE(frame->findRow(id14(3)), nullptr);
    EXPECT_TRUE(model.groups().find(KV_PRODUCT_14, L"Farm")->members.empty());
    EXPECT_TRUE(log.contains("KVMultiMainFrame::doBatchOpMenuCommand", L"rqmultiplayer, batchDeletePlayers"));
}

TEST_F(MainWindowMenus, DeleteWaitsTenMillisecondsAndSkipsAnInstanceThatStartedMeanwhile) {
    for (int i = 1; i <= 2; ++i) addInstance(KV_PRODUCT_14, i, L"vm" + std::to_wstring(i));
    model.groups().createGroup(KV_PRODUCT_14, L"Farm", L"");
    model.groups().moveToGroup(KV_PRODUCT_14, {id14(1), id14(2)}, L"Farm");
    openAll();
    for (int i : {1, 2}) {
        ASSERT_TRUE(openRowMenu(i));
        ASSERT_TRUE(chooseMenu(L"delete"));
        EXPECT_EQ(boxText(), L"multiplay_delete_player_notice");
        ASSERT_TRUE(pressBoxButton(2));
    }
    EXPECT_NE(frame->findRow(id14(1)), nullptr) << "not before 10 ms";
    running(2);
    advance(10ms);
    EXPECT_EQ(frame->findRow(id14(1)), nullptr);
    EXPECT_EQ(model.findRecord(id14(1)), nullptr);
    EXPECT_NE(frame->findRow(id14(2)), nullptr) << "it started in between";
    EXPECT_EQ(model.groups().find(KV_PRODUCT_14, L"Farm")->members, std::vector<std::int32_t>{id14(2)});
    EXPECT_EQ(topmost, 1);
}

TEST_F(MainWindowMenus, ArrangingWithNothingRunningSaysSo) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    open();
    ASSERT_TRUE(host.click(win(), L"btnSequeueWin"));
    ASSERT_TRUE(chooseMenu(L"MENU_ALL"));
    EXPECT_EQ(boxText(), L"multiplay_sequeue_zero_tip");
}

// The batch end's notice waits until the settings dialog's save has returned, then shows over the main window.
TEST_F(MainWindowMenus, TheBatchEndIsToldInABoxOverTheMainWindowOnceTheSaveReturned) {
    addInstance(KV_PRODUCT_14, 1, L"vm1");
    openAll();
    model.setBatchIds({id14(1)});
    model.startSaveSettingMul();
    model.endSaveSettingMul();
    EXPECT_EQ(frame->currentBox(), nullptr);
    loop.runPending();
    EXPECT_EQ(boxText(), L"multi_batch_setup_end");
    EXPECT_TRUE(pressBoxButton(1));
    EXPECT_EQ(frame->currentBox(), nullptr);
}
