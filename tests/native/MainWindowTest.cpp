// The main window and its rows driven headlessly over a real model: the shipped skins, the status table, the
// tabs, the start button and the close request.

#include <gtest/gtest.h>

#include <thread>

#include <fstream>
#include <sstream>

#include "core/dispatch/EventLoop.h"
#include "core/storage/InstanceKeys.h"
#include "support/LogCapture.h"
#include "support/MainFrameFixture.h"
#include "support/TempDir.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/List.h"
#include "toolkit/Slider.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/RowLook.h"
#include "ui/main/ShortcutName.h"

using namespace mainui;
using namespace std::chrono_literals;
using testing_support::id14;
using testing_support::id9;

namespace {

using MainWindowTest = testing_support::MainFrameFixture;

TEST(RowLook, DiskSizesSwitchToGigabytesAtExactlyOneGibibyte) {
    EXPECT_EQ(diskSizeText((1ull << 30) - 1), L"1024MB");
    EXPECT_EQ(diskSizeText(1ull << 30), L"1.0GB");
    EXPECT_EQ(diskSizeText(0), L"0MB");
    EXPECT_EQ(diskSizeText(3 * (1ull << 20) / 2), L"2MB") << "rounded to the nearest megabyte";
    EXPECT_EQ(diskSizeText(5ull * (1ull << 30) / 2), L"2.5GB");
}

TEST(RowLook, OnlyTheFirstOccurrenceOfTheSearchIsHighlightedEvenInsideAWord) {
    EXPECT_EQ(highlightedName(L"farmer farm", L"farm"), L"<c ffdd00>farm</c>er farm");
    EXPECT_EQ(highlightedName(L"Farm", L"farm"), L"Farm") << "case-sensitive";
    EXPECT_EQ(highlightedName(L"farm", L""), L"farm");
}

TEST(ShortcutName, NoRowNameLeavesTheDesktopFolderOrNamesADevice) {
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"Farm 1", L"Farm 1"},
        {L"..\\..\\Startup\\evil", L".._.._Startup_evil"},
        {L"../up", L".._up"},
        {L"C:\\Windows\\x", L"C__Windows_x"},
        {L"a*b?c\"d<e>f|g", L"a_b_c_d_e_f_g"},
        {L"line\r\nbreak", L"line__break"},
        {L"CON", L"_CON"},
        {L"nul", L"_nul"},
        {L"Com1", L"_Com1"},
        {L"LPT9.txt", L"_LPT9.txt"},
        {L"aux .x", L"_aux .x"},
        {L"COM10", L"COM10"},
        {L"CONSOLE", L"CONSOLE"},
        {L"", L"_"},
        {std::wstring(300, L'x'), std::wstring(200, L'x')},
    };
    for (const auto& [row, file] : cases) EXPECT_EQ(desktopShortcutName(row), file) << row;
}

TEST_F(MainWindowTest, RowsFillTheListFromTheModelWithTheirDetails) {
    addInstance(KV_PRODUCT_14, 0, L"KVPlayer");
    addInstance(KV_PRODUCT_14, 3, L"farm 3");
    std::ofstream(players.line(KV_PRODUCT_14).instanceFolder(3) / "data.vdi") << std::string(3 << 20, 'x');
    open();
    auto* list = win().find<ui::List>(L"listVm");
    ASSERT_EQ(list->count(), 2u);
    KVMultiMainItem& three = row(id14(3));
    EXPECT_EQ(three.part(L"lableNameControl")->text(), L"farm 3");
    EXPECT_EQ(three.part(L"indexName")->text(), L"3");
    EXPECT_EQ(three.part(L"labelAndVerion")->text(), L"14");
    EXPECT_EQ(three.part(L"labelResolutionInfo")->text(), L"1280x720 (DPI 240)");
    // The folder's size arrives from a worker thread.
    for (int i = 0; i < 500 && three.part(L"labelDiskInfo")->text() != L"3MB"; ++i) {
        std::this_thread::sleep_for(10ms);
        loop.runPending();
    }
    EXPECT_EQ(three.part(L"labelDiskInfo")->text(), L"3MB");
    EXPECT_EQ(three.part(L"labelStatus")->text(), L"multis_player_not_running");
    EXPECT_EQ(host.text(win(), L"titleText"), L"multiplayer_window");
    win().layout();
    EXPECT_EQ(three.rect().height(), 50);
    EXPECT_GE(three.rect().top, list->rect().top);
    EXPECT_LE(three.rect().right, list->rect().right);
    EXPECT_TRUE(three.part(L"startBtn")->isShown());
}

TEST_F(MainWindowTest, EveryStatusShowsItsTextColourAndButtons) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    open();
    KVMultiMainItem& r = row(id14(1));
    struct Case {
        int status;
        const wchar_t* key;
        ui::Argb color;
        const wchar_t* shown; // the buttons shown, comma-separated
        bool rowEnabled;
    };
    const Case cases[] = {
        {0, L"multis_player_not_running", 0xFFBFBFC3, L"startBtn", true},
        {1, L"multis_player_running", 0xFF2EE5A8, L"startBtn", true},
        {2, L"multis_player_running", 0xFF2EE5A8, L"startBtn", true},
        {3, L"multis_player_copying", 0xFFFFDD00, L"progressbar", false},
        {4, L"multis_player_creating", 0xFFFFDD00, L"progressbar", false},
        {5, L"multiplay_backuping", 0xFFBFBFC3, nullptr, true},
        {7, L"multis_player_downloading", 0xFFFFDD00, L"progressbar,stopDownloadBtn", false},
        {9, L"multis_player_waiting_for_install", 0xFFBFBFC3, L"installBtn", false},
        {10, L"multis_player_download_failed", 0xFFFF8686, L"installBtn", false},
        {11, L"multis_player_being_copyied", 0xFFBFBFC3, nullptr, false},
        {12, L"multis_player_copy_failed", 0xFFFF8686, L"stopDownloadBtn", false},
        {42, L"multis_player_not_running", 0xFFBFBFC3, L"startBtn", true},
    };
    for (const Case& c : cases) {
        r.setStatus(c.status);
        SCOPED_TRACE(c.status);
        EXPECT_EQ(r.part(L"labelStatus")->text(), c.key);
        EXPECT_EQ(r.part(L"labelStatus")->textColor(), c.color);
        for (const wchar_t* b : {L"startBtn", L"progressbar", L"installBtn", L"stopDownloadBtn"})
            EXPECT_EQ(r.part(b)->isShown(), c.shown && std::wstring_view(c.shown).find(b) != std::wstring_view::npos)
                << b;
        EXPECT_EQ(r.part(L"btnBackground")->enabled(), c.rowEnabled);
    }
    r.setStatus(1);
    EXPECT_EQ(r.part<ui::Button>(L"startBtn")->normalImage().file, L"multiplayer_all/quit_normal.png");
    r.setStatus(10);
    EXPECT_EQ(r.part(L"installBtn")->tag(), 1) << "a click means download again";
    EXPECT_EQ(r.part(L"labelStatus")->fixedWidth(), 70);
    r.setStatus(12);
    EXPECT_EQ(r.part(L"labelStatus")->fixedWidth(), 126);
}

TEST_F(MainWindowTest, TheInstallAnimationClimbsByThreeThenByOneAndStops) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    open();
    KVMultiMainItem& r = row(id14(1));
    r.setInstallProgress(84);
    r.setStatus(kRowInstalling);
    EXPECT_TRUE(r.installAnimating());
    std::vector<int> shown;
    for (int tick = 0; tick < 20 && r.installAnimating(); ++tick) {
        skew += 500ms;
        loop.runPending();
        shown.push_back(r.part<ui::Progress>(L"progressbar")->value());
    }
    EXPECT_EQ(shown, (std::vector<int>{84, 87, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99}));
    EXPECT_FALSE(r.installAnimating());
}

TEST_F(MainWindowTest, OnlyLineNineHidesTheTabBarAndShowsNineWhateverWasStored) {
    addInstance(KV_PRODUCT_9, 0, L"nine");
    players.own().settings().set(common::settings::multiPlayerLastProduct, 4);
    open();
    EXPECT_EQ(frame->currentProduct(), KV_PRODUCT_9);
    EXPECT_FALSE(host.shown(win(), L"productLayout"));
    EXPECT_EQ(grown, std::vector<int>{-36});
    EXPECT_NE(frame->findRow(id9(0)), nullptr);
}

TEST_F(MainWindowTest, TabsShowForLinesWithInstancesAndAClickSwitchesAndRemembers) {
    addInstance(KV_PRODUCT_14, 0, L"fourteen");
    addInstance(KV_PRODUCT_71_32, 2, L"seven");
    open(KV_PRODUCT_71_32);
    EXPECT_EQ(frame->currentProduct(), KV_PRODUCT_71_32) << "a requested 0 with a tab stays";
    EXPECT_TRUE(host.shown(win(), L"productLayout"));
    EXPECT_TRUE(host.shown(win(), L"product14Btn"));
    EXPECT_FALSE(host.shown(win(), L"product9Btn"));
    EXPECT_FALSE(host.shown(win(), L"product5_64Btn"));
    EXPECT_TRUE(grown.empty());
    ASSERT_TRUE(host.click(win(), L"product14Btn"));
    EXPECT_EQ(frame->currentProduct(), KV_PRODUCT_14);
    EXPECT_NE(frame->findRow(id14(0)), nullptr);
    EXPECT_EQ(frame->findRow(2), nullptr);
    EXPECT_EQ(players.own().settings().get(common::settings::multiPlayerLastProduct), 4);
}

TEST_F(MainWindowTest, StartRunsAtOnceButStopAsksAndTheRefreshTurnsTheRow) {
    addInstance(KV_PRODUCT_14, 2, L"two");
    open();
    ASSERT_TRUE(click(row(id14(2)), L"startBtn"));
    ASSERT_EQ(desktop.starts.size(), 1u);
    EXPECT_EQ(desktop.starts[0].index, 2);

    desktop.run(players.line(KV_PRODUCT_14), 2);
    frame->refreshTick();
    EXPECT_EQ(row(id14(2)).part(L"labelStatus")->text(), L"multis_player_running");

    ASSERT_TRUE(click(row(id14(2)), L"startBtn"));
    EXPECT_EQ(boxText(), L"multiplay_quit_player_notice");
    EXPECT_TRUE(win().overlayShown());
    ASSERT_TRUE(pressBoxButton(1)); // cancel
    EXPECT_TRUE(desktop.stops.empty());
    EXPECT_FALSE(win().overlayShown());

    ASSERT_TRUE(click(row(id14(2)), L"startBtn"));
    ASSERT_TRUE(pressBoxButton(2)); // confirm
    ASSERT_EQ(desktop.stops.size(), 1u);
    EXPECT_EQ(desktop.stops[0].index, 2);
}

TEST_F(MainWindowTest, TheWindowHearsTheModelFirstAndNothingOnceItIsGone) {
    addInstance(KV_PRODUCT_14, 2, L"two");
    open();
    std::vector<std::wstring> seenByLater; // the row's status when a later receiver (a group frame) hears
    const common::OwnerKey later = common::newOwnerKey();
    model.events().playerStateChanged.subscribe(later, [&](std::int32_t id, bool, platform::WindowHandle) {
        seenByLater.push_back(frame ? row(id).part(L"labelStatus")->text() : L"gone");
    });
    desktop.run(players.line(KV_PRODUCT_14), 2);
    frame->refreshTick();
    EXPECT_EQ(seenByLater, std::vector<std::wstring>{L"multis_player_running"});

    frame.reset();
    EXPECT_EQ(model.events().playerStateChanged.receiverCount(), 1u);
    desktop.end(players.line(KV_PRODUCT_14), 2);
    model.refreshPlayerStatus();
    EXPECT_EQ(seenByLater.back(), L"gone");
}

TEST_F(MainWindowTest, RenameInPlaceStoresTheNameThroughTheModel) {
    addInstance(KV_PRODUCT_14, 1, L"old");
    open();
    ASSERT_TRUE(click(row(id14(1)), L"labelNameBtn"));
    ASSERT_TRUE(row(id14(1)).part(L"editName")->isShown());
    host.press(win(), ui::Key::End);
    host.type(win(), L"er");
    host.press(win(), ui::Key::Return);
    EXPECT_FALSE(row(id14(1)).part(L"editName")->visible());
    EXPECT_EQ(row(id14(1)).part(L"lableNameControl")->text(), L"older");
    EXPECT_EQ(model.findRecord(id14(1))->name, L"older");
}

TEST_F(MainWindowTest, CloseRequestAsksInTheFixedOrderAndCancelKeepsEverything) {
    open();
    frame->setInstallState(1);
    groupControl = true;
    frame->closeRequest();
    EXPECT_EQ(boxText(), L"groupcontrol_close_groupcontrol") << "an open group window comes before a download";
    ASSERT_TRUE(pressBoxButton(1));
    EXPECT_TRUE(closed.empty());

    groupControl = false;
    frame->closeRequest();
    EXPECT_EQ(boxText(), L"multi_exit_downoading");
    ASSERT_TRUE(pressBoxButton(1));
    EXPECT_TRUE(closed.empty());
    EXPECT_FALSE(win().overlayShown());

    frame->setInstallState(3);
    frame->closeRequest();
    EXPECT_EQ(boxText(), L"multi_exit_installing");
    ASSERT_TRUE(pressBoxButton(2));
    EXPECT_EQ(closed, std::vector<int>{442});

    frame->setInstallState(0);
    ASSERT_TRUE(host.click(win(), L"closebtn"));
    EXPECT_EQ(closed, (std::vector<int>{442, 442})) << "nothing to ask: closes at once";
}

TEST_F(MainWindowTest, ACopySeriesAsksBeforeClosingEvenWithAGroupWindowOpen) {
    addInstance(KV_PRODUCT_14, 0, L"source");
    open();
    frame->startCopySeries(id14(0), 2);
    groupControl = true;
    frame->closeRequest();
    EXPECT_EQ(boxText(), L"multi_exit_copying");
    ASSERT_TRUE(pressBoxButton(1));
    EXPECT_TRUE(closed.empty());
    players.line(KV_PRODUCT_14).waitForTasks();
}

TEST_F(MainWindowTest, ACopyThatFailsLeavesItsRowAsCopyFailed) {
    addInstance(KV_PRODUCT_14, 0, L"source without disks");
    open();
    frame->startCopySeries(id14(0), 1);
    ASSERT_TRUE(loop.runUntil([&] { return !model.isAdding(); }, 20s));
    EXPECT_EQ(row(id14(1)).status(), kRowCopyFailed);
    EXPECT_EQ(row(id14(0)).status(), 0);
}

TEST_F(MainWindowTest, AProductRowStaysAtTheEndAcrossRebuildsOnlyOnItsLine) {
    addInstance(KV_PRODUCT_14, 0, L"a");
    addInstance(KV_PRODUCT_9, 0, L"b");
    open(KV_PRODUCT_14);
    auto productRow = frame->newRow();
    productRow->setStatus(kRowDownloading);
    KVMultiMainItem* kept = productRow.get();
    frame->setProductRow(std::move(productRow), KV_PRODUCT_14);
    frame->refreshList({.reloadModel = true});
    auto* list = win().find<ui::List>(L"listVm");
    ASSERT_EQ(list->count(), 2u);
    EXPECT_EQ(list->at(1), kept);
    ASSERT_TRUE(host.click(win(), L"product9Btn"));
    EXPECT_EQ(list->count(), 1u);
    ASSERT_TRUE(host.click(win(), L"product14Btn"));
    EXPECT_EQ(list->at(1), kept) << "the same row object came back";
}

} // namespace

TEST_F(MainWindowTest, AShortcutGetsAFileNameInsideTheDesktopAndASaveThatFailedIsLogged) {
    addInstance(KV_PRODUCT_14, 1, L"..\\..\\Startup\\run");
    shortcutSaves = false;
    open();
    ASSERT_TRUE(click(row(id14(1)), L"shortcutVm"));
    ASSERT_EQ(shortcuts.size(), 1u);
    EXPECT_EQ(shortcuts[0].name, L".._.._Startup_run");
    EXPECT_EQ(shortcuts[0].arguments, L"index=1");
    EXPECT_TRUE(
        log.contains("mainui::KVMultiMainFrame::onShortcut", L"desktop shortcut .._.._Startup_run.lnk was not saved"));
    EXPECT_FALSE(boxText().empty()) << "the notice comes either way";
}
