// The main window as screen readers and automation tools see it: the exposed tree of the shipped skins over a
// real model, and default actions that do what a click does.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/dispatch/EventLoop.h"
#include "support/LogCapture.h"
#include "support/ModelWorld.h"
#include "support/ShippedSkin.h"
#include "toolkit/Accessible.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/List.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/RowLook.h"

using namespace mainui;
using ui::AccessibleTree;
using ui::AccRole;
namespace st = ui::accstate;

using testing_support::shippedSkin;

namespace {

constexpr std::int32_t id14(int index) {
    return (10 << 24) + index;
}

class MainWindowAccessible : public ::testing::Test, protected testing_support::ModelWorld {
protected:
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    testing_support::LogCapture log;
    KVMultiModel model{players, sources, desktop, windows, program.path()};
    ui::HeadlessHost host;
    std::unique_ptr<KVMultiMainFrame> frame;
    std::vector<std::wstring> events;

    void SetUp() override {
        common::dispatch::install(&dispatcher);
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        install(KV_PRODUCT_9, L"player9", L"9.0.0.1");
        players.own().init(program.path());
    }
    void TearDown() override {
        frame.reset();
        model.shutdown();
        common::dispatch::uninstall();
    }
    void open() {
        frame.reset();
        players.own().settings().set(common::settings::multiPlayerLastProduct, KV_PRODUCT_14);
        frame = std::make_unique<KVMultiMainFrame>(model, players.own().settings(), host.factory(), FrameServices{});
        const std::string window = shippedSkin(KVMultiMainFrame::kSkinFile);
        const std::string row = shippedSkin(KVMultiMainFrame::kRowSkinFile);
        const std::string groupRow = shippedSkin(KVMultiMainFrame::kGroupRowSkinFile);
        const std::string moveGroup = shippedSkin(mainui::KVMoveGroupWnd::kSkinFile);
        const std::string menu = shippedSkin(ui::RQMenuWnd::kSkinFile);
        ASSERT_TRUE(frame->init({window, row, groupRow, moveGroup, menu}, std::nullopt));
        win().resize({760, 560});
        // What the mouse does on its way (hover) is not part of a click.
        win().addNotifier([this](const ui::Notify& n) {
            if (n.type == ui::events::kMouseEnter || n.type == ui::events::kMouseLeave) return;
            events.push_back(std::wstring(n.type) + L":" + (n.sender ? n.sender->name() : L""));
        });
    }
    ui::Window& win() { return frame->window(); }
    AccessibleTree& tree() { return win().accessible(); }
    // The exposed nodes whose help (skin name) is `help`, in tree order.
    std::vector<AccessibleTree::Id> find(std::wstring_view help, AccessibleTree::Id from = AccessibleTree::kWindow) {
        std::vector<AccessibleTree::Id> out;
        for (const AccessibleTree::Id child : tree().children(from)) {
            if (tree().describe(child)->help == help) out.push_back(child);
            for (const AccessibleTree::Id inner : find(help, child)) out.push_back(inner);
        }
        return out;
    }
    ui::AccessibleInfo info(std::wstring_view help, AccessibleTree::Id from = AccessibleTree::kWindow) {
        const auto found = find(help, from);
        EXPECT_EQ(found.size(), 1u) << std::string(help.begin(), help.end());
        return found.empty() ? ui::AccessibleInfo{} : *tree().describe(found[0]);
    }
    std::vector<AccessibleTree::Id> rows() { return tree().children(find(L"listVm").at(0)); }
};

TEST_F(MainWindowAccessible, RowsAreListItemsWhoseControlsCarryTheirTextsTooltipsStatesAndSkinNames) {
    addInstance(KV_PRODUCT_14, 0, L"KVPlayer");
    addInstance(KV_PRODUCT_14, 3, L"farm 3");
    addInstance(KV_PRODUCT_9, 0, L"nine");
    open();
    frame->findRow(id14(3))->setStatus(4); // being created: a progress bar instead of the buttons
    frame->findRow(id14(3))->setProgress(40);

    const auto root = tree().describe(AccessibleTree::kWindow);
    EXPECT_EQ(root->role, AccRole::Client);
    EXPECT_EQ(info(L"titleText").name, L"multiplayer_window");
    EXPECT_EQ(info(L"titleBar").role, AccRole::Grouping);
    EXPECT_TRUE(find(L"voiceCloseTip").empty()) << "a grouping of hidden controls is left out";
    EXPECT_TRUE(find(L"searchEdit").empty()) << "hidden";
    EXPECT_TRUE(find(L"_only_model_control_").empty());

    const ui::AccessibleInfo tab14 = info(L"product14Btn"), tab9 = info(L"product9Btn");
    EXPECT_EQ(tab14.role, AccRole::PageTab);
    EXPECT_EQ(tab14.name, L"multis_player_product_14");
    EXPECT_EQ(tab14.state & (st::kSelected | st::kSelectable), st::kSelected | st::kSelectable);
    EXPECT_EQ(tab9.state & st::kSelected, 0u);
    EXPECT_EQ(tab14.defaultAction, L"Switch");

    const auto items = rows();
    ASSERT_EQ(items.size(), 2u);
    const ui::AccessibleInfo first = *tree().describe(items[0]), second = *tree().describe(items[1]);
    EXPECT_EQ(first.role, AccRole::ListItem);
    EXPECT_EQ(first.name, L"KVPlayer") << "a row is named by its first text";
    EXPECT_EQ(first.defaultAction, L"Click") << "the whole-row button is the row";
    EXPECT_EQ(first.state & (st::kSelectable | st::kSelected), st::kSelectable);
    EXPECT_TRUE(find(L"btnBackground").empty());

    const ui::AccessibleInfo start = info(L"startBtn", items[0]);
    EXPECT_EQ(start.role, AccRole::PushButton);
    EXPECT_EQ(start.name, L"multiplay_start_up") << "the text it keeps for its tooltip, undrawn";
    EXPECT_EQ(start.defaultAction, L"Press");
    EXPECT_EQ(start.location, frame->findRow(id14(0))->part(L"startBtn")->rect());
    EXPECT_EQ(start.state & (st::kFocusable | st::kUnavailable | st::kInvisible), st::kFocusable);
    // Icon-only buttons are named by their tooltips.
    EXPECT_EQ(info(L"btnSettingVm", items[0]).name, L"multi_setup_item");
    EXPECT_EQ(info(L"btnRemoveVm", items[0]).name, L"multiplay_remove_player_tip");
    EXPECT_EQ(info(L"labelStatus", items[0]).role, AccRole::StaticText);
    EXPECT_EQ(info(L"labelStatus", items[0]).name, L"multis_player_not_running");
    EXPECT_EQ(info(L"labelResolutionInfo", items[0]).name, L"960x540 (DPI 240)");

    EXPECT_TRUE(find(L"startBtn", items[1]).empty());
    const ui::AccessibleInfo progress = info(L"progressbar", items[1]);
    EXPECT_EQ(progress.role, AccRole::ProgressBar);
    EXPECT_EQ(progress.value, L"40%");
    EXPECT_EQ(second.state & st::kUnavailable, 0u);
    EXPECT_TRUE(find(L"optionSel").empty()) << "shown only in batch mode";
}

TEST_F(MainWindowAccessible, DisabledScrolledOutAndFailedRowsShowInTheirStates) {
    for (int i = 0; i < 12; ++i) addInstance(KV_PRODUCT_14, i, L"farm " + std::to_wstring(i));
    open();
    frame->findRow(id14(0))->setStatus(kRowCopyFailed);
    const auto items = rows();
    ASSERT_EQ(items.size(), 12u);
    EXPECT_EQ(tree().describe(items[0])->state & st::kUnavailable, 0u) << "the row itself stays";
    EXPECT_NE(info(L"labelNameBtn", items[0]).state & st::kUnavailable, 0u);
    EXPECT_EQ(info(L"stopDownloadBtn", items[0]).name, L"mapping_remove_tip");
    EXPECT_EQ(tree().describe(items[0])->state & st::kInvisible, 0u);
    EXPECT_EQ(tree().describe(items[11])->state & (st::kInvisible | st::kOffscreen), st::kInvisible | st::kOffscreen)
        << "below the list's visible part";

    // The point in the middle of a row's start button is that button, a free spot of the row is the row.
    const ui::Rect button = frame->findRow(id14(1))->part(L"startBtn")->rect();
    EXPECT_EQ(tree().hitTest({button.left + 2, button.top + 2}), find(L"startBtn", items[1]).at(0));
    const ui::Rect row = frame->findRow(id14(1))->rect();
    EXPECT_EQ(tree().hitTest({row.right - 2, row.top + 1}), items[1]);
    EXPECT_EQ(tree().navigate(items[1], ui::AccNavigation::Next), items[2]);
    EXPECT_EQ(tree().navigate(items[1], ui::AccNavigation::Down), items[2]);

    // A rebuild makes new rows: the ids of the old ones stop resolving.
    frame->refreshList({.reloadModel = true});
    EXPECT_FALSE(tree().describe(items[3]));
    EXPECT_FALSE(tree().doDefaultAction(items[3]));
    EXPECT_EQ(rows().size(), 12u);
}

// A focus event gives a control its id before any client read the tree; a rebuild forgets it all the same.
TEST_F(MainWindowAccessible, AnIdGivenByAFocusEventStopsResolvingWhenItsRowIsRebuilt) {
    for (int i = 0; i < 3; ++i) addInstance(KV_PRODUCT_14, i, L"farm " + std::to_wstring(i));
    open();
    const AccessibleTree::Id start = tree().idOf(frame->findRow(id14(1))->part(L"startBtn"));
    const AccessibleTree::Id title = tree().idOf(win().findControl(L"titleText"));
    ASSERT_NE(start, AccessibleTree::kWindow);
    EXPECT_EQ(tree().describe(start)->help, L"startBtn");
    frame->refreshList({.reloadModel = true});
    EXPECT_FALSE(tree().describe(start));
    ASSERT_TRUE(tree().describe(title)) << "outside the list it stays";
    EXPECT_EQ(tree().describe(title)->help, L"titleText");
}

// Each gesture on a fresh window, once by the mouse and once as the default action: the same notifications.
TEST_F(MainWindowAccessible, ADefaultActionSendsWhatAClickSends) {
    addInstance(KV_PRODUCT_14, 0, L"zero");
    addInstance(KV_PRODUCT_9, 0, L"nine");
    struct Case {
        const wchar_t* control;
        bool row; // the row itself (its whole-row button)
    };
    for (const Case& c : {Case{L"startBtn", false}, Case{L"product9Btn", false}, Case{L"moreBtn", false},
                          Case{L"btnBackground", true}}) {
        std::vector<std::wstring> byMouse, byAction;
        for (const bool mouse : {true, false}) {
            open();
            win().setFocus(win().findControl(L"menuBtn")); // a focus to lose, as a click loses it
            events.clear();
            if (mouse) {
                ASSERT_TRUE(host.click(win(), c.control));
            } else {
                const auto target = c.row ? rows().at(0) : find(c.control).at(0);
                ASSERT_TRUE(tree().doDefaultAction(target));
            }
            (mouse ? byMouse : byAction) = events;
        }
        EXPECT_FALSE(byMouse.empty());
        EXPECT_EQ(byAction, byMouse) << "on " << testing::PrintToString(std::wstring(c.control));
    }
    EXPECT_EQ(desktop.starts.size(), 2u) << "both start buttons started the instance";
}

TEST_F(MainWindowAccessible, AConfirmationIsADialogWhoseButtonsWorkAndBlockTheWindowBelow) {
    addInstance(KV_PRODUCT_14, 2, L"two");
    open();
    desktop.run(players.line(KV_PRODUCT_14), 2);
    frame->refreshTick();
    const auto start = find(L"startBtn").at(0);
    ASSERT_TRUE(tree().doDefaultAction(start));
    msg::MessageBoxWindow* box = frame->currentBox();
    ASSERT_NE(box, nullptr) << "stop asks first";
    EXPECT_FALSE(tree().doDefaultAction(start)) << "a click cannot reach the window under a modal box";

    AccessibleTree& boxTree = box->window()->accessible();
    EXPECT_EQ(boxTree.describe(AccessibleTree::kWindow)->role, AccRole::Dialog);
    EXPECT_EQ(boxTree.describe(AccessibleTree::kWindow)->name, L"prompt");
    std::vector<std::wstring> buttons;
    AccessibleTree::Id confirm = AccessibleTree::kNone;
    std::vector<AccessibleTree::Id> pending = boxTree.children(AccessibleTree::kWindow);
    while (!pending.empty()) {
        const auto id = pending.front();
        pending.erase(pending.begin());
        const auto about = boxTree.describe(id);
        if (about->role == AccRole::PushButton) buttons.push_back(about->help + L"=" + about->name);
        if (about->help == L"msgbtn1") confirm = id;
        for (const auto child : boxTree.children(id)) pending.push_back(child);
    }
    EXPECT_EQ(buttons, (std::vector<std::wstring>{L"closebtn=", L"msgbtn0=cancel", L"msgbtn1=confirm"}));
    ASSERT_TRUE(boxTree.doDefaultAction(confirm));
    ASSERT_EQ(desktop.stops.size(), 1u);
    EXPECT_EQ(desktop.stops[0].index, 2);
}

} // namespace
