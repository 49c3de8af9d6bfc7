#include "ui/groupcontrol/KVGroupControlFrame.h"

#include <gtest/gtest.h>

#include "support/FakeDockDesktop.h"
#include "support/ShippedSkin.h"
#include "support/TempDir.h"
#include "toolkit/Container.h"

using groupcontrol::KVGroupControlFrame;
using groupcontrol::PlayerRecord;
using testing_support::FakeDockDesktop;

namespace {

// Presses a control the way the mouse does, after laying the window out.
bool click(ui::Window& window, ui::Control* control) {
    window.layout();
    if (!control || !control->isShown()) return false;
    const ui::Rect r = control->rect();
    const ui::Point centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    window.mouseMove(centre);
    window.mouseDown(centre, ui::MouseButton::Left);
    window.mouseUp(centre, ui::MouseButton::Left);
    return true;
}

// A frame of line 2 over a fake desktop, built from the shipped skins: "P0" and "P1" run, "P2" does not.
class GroupControlFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.load(dir.path());
        const auto frameWindow = desktop.add({0, 0, 1600, 900});
        for (int i = 0; i < 3; ++i) windows.push_back(desktop.add({40, 40, 400, 680}));
        ASSERT_TRUE(frame.create(testing_support::shippedSkin(KVGroupControlFrame::kSkinFile),
                                 testing_support::shippedSkin(KVGroupControlFrame::kTileSkinFile)));
        frame.dock().setFrameWindow(frameWindow);
        frame.window().resize({1600, 900});
    }
    void open(int running) {
        std::vector<PlayerRecord> records;
        for (int i = 0; i < 3; ++i)
            records.push_back(
                {i, L"P" + std::to_wstring(i), i < running ? windows[static_cast<std::size_t>(i)] : 0, 720, 1280});
        frame.dock().setPlayers(L"farm", records);
        frame.syncWithDock();
    }
    ui::Control* tile(int index) {
        auto* tiles = frame.window().find<ui::Container>(L"playerListLayout");
        for (std::size_t i = 0; tiles && i < tiles->count(); ++i)
            if (tiles->at(i)->tag() == index) return tiles->at(i);
        return nullptr;
    }
    ui::Control* inTile(int index, std::wstring_view name) {
        ui::Control* t = tile(index);
        return t ? t->findByName(name) : nullptr;
    }
    int page() { return frame.window().find<ui::TabLayout>(L"mainTabLayout")->selectedIndex(); }
    // Presses a button of the message box on screen.
    bool answer(std::wstring_view button) {
        msg::MessageBoxWindow* box = frame.currentBox();
        if (!box) return false;
        box->window()->resize(box->window()->scaledInitialSize());
        return click(*box->window(), box->window()->findControl(button));
    }

    testing_support::TempDir dir;
    common::GlobalSettings settings;
    FakeDockDesktop desktop;
    ui::ControlFactory factory;
    std::vector<platform::WindowHandle> windows;
    std::vector<int> started;
    int closed = 0;
    int boxes = 0;
    KVGroupControlFrame frame{desktop,
                              settings,
                              2,
                              1.0,
                              factory,
                              {.showBox = [this](msg::MessageBoxWindow&) { ++boxes; },
                               .closeWindow = [this] { ++closed; },
                               .startPlayer = [this](int index) { started.push_back(index); }}};
};

} // namespace

TEST_F(GroupControlFrameTest, TilesShowStartForStoppedAndCollectForLeftInstances) {
    open(2);
    EXPECT_EQ(frame.window().title(), L"farm");
    EXPECT_EQ(frame.window().findControl(L"titleText")->text(), L"farm");
    EXPECT_EQ(page(), 0);
    ASSERT_NE(tile(2), nullptr);
    EXPECT_TRUE(inTile(2, L"playerItemStartBtn")->visible());
    EXPECT_EQ(inTile(2, L"tipLabel")->text(), L"P2");
    EXPECT_FALSE(inTile(0, L"playerItemStartBtn")->visible());
    EXPECT_FALSE(inTile(0, L"collectBtn")->visible());
    EXPECT_EQ(inTile(0, L"tipLabel")->text(), L"");
    frame.window().layout();
    EXPECT_EQ(tile(1)->rect().left, 2 + 505 + 2) << "tiles stand in their cells below the caption";
    EXPECT_EQ(tile(1)->rect().top, 34 + 2);

    frame.dock().playerWantMax(windows[0]);
    frame.syncWithDock();
    EXPECT_TRUE(inTile(0, L"collectBtn")->visible());
    EXPECT_EQ(inTile(0, L"tipLabel")->text(), L"groupcontrol_player_out");
    ASSERT_TRUE(click(frame.window(), inTile(0, L"collectBtn")));
    EXPECT_EQ(desktop.window(windows[0]).parent, frame.dock().frameWindow());
    EXPECT_FALSE(inTile(0, L"collectBtn")->visible());

    ASSERT_TRUE(click(frame.window(), inTile(2, L"playerItemStartBtn")));
    EXPECT_EQ(started, std::vector<int>{2});
    EXPECT_FALSE(frame.window().findControl(L"morebtn")->enabled()) << "no settings dialog given";
}

TEST_F(GroupControlFrameTest, ClosingWithNothingRunningOrWithoutAskingNeedsNoAnswer) {
    open(0);
    frame.closeRequest();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(frame.dock().page(), groupcontrol::FramePage::Empty) << "the lists are emptied";

    open(2);
    settings.set(common::settings::groupcontrolCloseNoice, false);
    frame.closeRequest();
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(boxes, 0);
    EXPECT_EQ(desktop.window(windows[1]).parent, 0u) << "released to the desktop";
    frame.onWindowDestroyed();
    EXPECT_TRUE(desktop.postsTo(windows[1]).back().message != 9222) << "released instances keep running";
}

TEST_F(GroupControlFrameTest, ClosingAsksWhetherTheInstancesStayOrClose) {
    open(2);
    frame.closeRequest();
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(closed, 0);
    ASSERT_TRUE(answer(L"msgbtn1")); // close them too
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(desktop.postsTo(windows[0]).back(), (FakeDockDesktop::Post{windows[0], 9222, 0, 0}));

    open(2);
    frame.closeRequest();
    ASSERT_TRUE(answer(L"msgbtn0")); // keep them open
    EXPECT_EQ(closed, 2);
    EXPECT_EQ(desktop.window(windows[0]).parent, 0u);
    EXPECT_EQ(desktop.postsTo(windows[0]).back().message, 25003u);
}

TEST_F(GroupControlFrameTest, PagesForAnEmptyGroupAndForHiddenStoppedInstances) {
    frame.dock().setPlayers(L"empty", {});
    frame.syncWithDock();
    EXPECT_EQ(page(), 1);

    settings.set(common::settings::groupcontrolHideOffLinePlayer, true);
    open(0);
    EXPECT_EQ(page(), 2);
    ASSERT_TRUE(click(frame.window(), frame.window().findControl(L"showHidePlayerBtn")));
    EXPECT_FALSE(settings.get(common::settings::groupcontrolHideOffLinePlayer));
    EXPECT_EQ(page(), 0);
    EXPECT_NE(tile(2), nullptr);
}
