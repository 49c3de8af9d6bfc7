#include "ui/groupcontrol/GroupDock.h"

#include <gtest/gtest.h>

#include "support/FakeDockDesktop.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using groupcontrol::FramePage;
using groupcontrol::GroupDock;
using groupcontrol::PlayerRecord;
using testing_support::FakeDockDesktop;
using testing_support::LogCapture;
using Post = FakeDockDesktop::Post;

namespace {

constexpr std::uint32_t kRestore = 61728;

// A frame of line 2, 1600 × 900 at (100, 50), and four upright instances (720 × 1280) on the desktop.
class GroupDockTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings.load(dir.path());
        frame = desktop.add({100, 50, 1700, 950});
        for (int i = 0; i < 4; ++i) windows.push_back(desktop.add({40 + 50 * i, 40, 400 + 50 * i, 680}));
        dock.setFrameWindow(frame);
    }
    std::vector<PlayerRecord> records(int running) const {
        std::vector<PlayerRecord> out;
        for (int i = 0; i < 4; ++i)
            out.push_back(
                {i, L"P" + std::to_wstring(i), i < running ? windows[static_cast<std::size_t>(i)] : 0, 720, 1280});
        return out;
    }
    std::intptr_t frameParam() const { return static_cast<std::intptr_t>(frame); }

    testing_support::TempDir dir;
    common::GlobalSettings settings;
    FakeDockDesktop desktop;
    GroupDock dock{desktop, settings, 2, 1.0};
    platform::WindowHandle frame = 0;
    std::vector<platform::WindowHandle> windows;
};

} // namespace

TEST_F(GroupDockTest, RunningInstancesAreDockedIntoTheUprightGrid) {
    LogCapture log;
    desktop.window(windows[1]).minimized = true;
    desktop.window(windows[2]).visible = false;
    dock.setPlayers(L"farm", records(4));

    EXPECT_FALSE(dock.landscapeMode());
    EXPECT_EQ(dock.columns(), 4);
    EXPECT_EQ(dock.cellHeight(), 320);
    const int lefts[] = {2, 401, 800, 1199};
    for (int i = 0; i < 4; ++i) {
        const auto w = windows[static_cast<std::size_t>(i)];
        EXPECT_EQ(desktop.window(w).parent, frame) << i;
        EXPECT_TRUE(desktop.window(w).visible) << i;
        EXPECT_EQ(desktop.lastPlace(w), (std::vector<int>{13000, lefts[i], 2, 397})) << i;
        const auto& tile = dock.tiles()[static_cast<std::size_t>(i)];
        EXPECT_EQ(tile.rect, (geometry::Rect{lefts[i], 2, lefts[i] + 397, 2 + 670})) << i;
        EXPECT_FALSE(tile.out);
        EXPECT_EQ(dock.players()[static_cast<std::size_t>(i)].saved.width, 360) << "its desktop place is kept";
    }
    EXPECT_EQ(desktop.postsTo(windows[1]).front(), (Post{windows[1], 274, kRestore, 0})) << "minimised: restored";
    EXPECT_EQ(desktop.postsTo(windows[0]).back(), (Post{windows[0], 25003, 1, frameParam()}));
    EXPECT_TRUE(log.contains("KVGroupControlFrame::reLoadPlayers", L"player 3 left:1199 top:2"));
    EXPECT_TRUE(log.contains("KVGroupControlFrame::calcPlayerItemPos", L"444444 left:1199 top:2"));
    EXPECT_EQ(dock.page(), FramePage::Players);
}

TEST_F(GroupDockTest, AResizeMovesTilesAndTellsDockedWindowsBelowTheCaption) {
    dock.setPlayers(L"farm", records(2));
    desktop.posts.clear();
    const int generation = dock.tileGeneration();
    dock.updatePlayerPos(true);
    EXPECT_EQ(dock.tileGeneration(), generation) << "tiles only move";
    EXPECT_EQ(desktop.postsTo(windows[0]).front(), (Post{windows[0], 25006, 1, 0}));
    EXPECT_EQ(desktop.lastPlace(windows[1]), (std::vector<int>{13000, 402, 36, 397}));
    EXPECT_TRUE(desktop.postsTo(windows[3]).empty()) << "not running";
}

TEST_F(GroupDockTest, OneInstanceLeavesAtATimeAndCollectBringsItBack) {
    dock.setPlayers(L"farm", records(3));
    desktop.posts.clear();
    dock.playerWantMax(windows[0]);
    EXPECT_EQ(desktop.window(windows[0]).parent, 0u);
    EXPECT_TRUE(desktop.window(windows[0]).visible);
    EXPECT_TRUE(dock.tiles()[0].out);
    EXPECT_TRUE(dock.players()[0].detached);
    EXPECT_EQ(desktop.lastPlace(windows[0]), (std::vector<int>{13000, 40, 40, 360})) << "back where it was";

    dock.playerWantMax(windows[1]);
    EXPECT_EQ(desktop.window(windows[0]).parent, frame) << "the first is docked again first";
    EXPECT_FALSE(dock.tiles()[0].out);
    EXPECT_EQ(desktop.lastPlace(windows[0]), (std::vector<int>{13000, 2, 2, 397}));
    EXPECT_TRUE(dock.tiles()[1].out);

    dock.onCollectBtnClicked(1);
    EXPECT_EQ(desktop.window(windows[1]).parent, frame);
    EXPECT_FALSE(dock.tiles()[1].out);
    EXPECT_EQ(desktop.postsTo(windows[1]).back(), (Post{windows[1], 25003, 1, frameParam()}));
    desktop.posts.clear();
    dock.onCollectBtnClicked(1);
    EXPECT_TRUE(desktop.posts.empty()) << "a docked tile has no Collect";
}

TEST_F(GroupDockTest, FullScreenAndItsEndAndRestore) {
    dock.setPlayers(L"farm", records(2));
    dock.playerWantFullScreen(windows[1]);
    EXPECT_EQ(desktop.window(windows[1]).parent, 0u);
    EXPECT_EQ(desktop.postsTo(windows[1]).back(), (Post{windows[1], 25012, 0, 0}));
    desktop.window(windows[1]).minimized = true;
    dock.playerWantFullScreenExit(windows[1]);
    EXPECT_EQ(desktop.window(windows[1]).parent, frame);
    const auto posts = desktop.postsTo(windows[1]);
    EXPECT_EQ(posts[posts.size() - 3], (Post{windows[1], 274, kRestore, 0}));
    EXPECT_EQ(desktop.lastPlace(windows[1]), (std::vector<int>{13000, 401, 36, 397}));

    dock.playerWantMax(windows[0]);
    dock.playerWantRestore(windows[0]);
    EXPECT_EQ(desktop.window(windows[0]).parent, frame);
    EXPECT_FALSE(dock.tiles()[0].out);
    EXPECT_EQ(desktop.lastPlace(windows[0]), (std::vector<int>{13000, 2, 2, 397}));
}

TEST_F(GroupDockTest, DraggedOutsideTheFrameItLeavesInsideItStays) {
    dock.setPlayers(L"farm", records(2));
    desktop.cursor = {500, 500};
    dock.playerMoved(windows[0]);
    EXPECT_EQ(desktop.window(windows[0]).parent, frame);
    desktop.cursor = {1800, 500};
    dock.playerMoved(windows[0]);
    EXPECT_EQ(desktop.window(windows[0]).parent, 0u);
    EXPECT_EQ(desktop.postsTo(windows[0]).back(), (Post{windows[0], 25003, 0, frameParam()}));
}

TEST_F(GroupDockTest, ResolutionAndTurnsChangeTheOrientationAndReLayOut) {
    dock.setPlayers(L"farm", records(2));
    dock.onResolutionChanged(windows[0], 1280, 720);
    EXPECT_TRUE(dock.players()[0].landscape);
    EXPECT_EQ(desktop.lastPlace(windows[0]), (std::vector<int>{13000, 3, 36 + 217, 397})) << "33333: centred";
    dock.onResolutionChanged(windows[0], 720, 1280);
    EXPECT_FALSE(dock.players()[0].landscape);
    EXPECT_EQ(desktop.lastPlace(windows[0]), (std::vector<int>{13000, 3, 36, 397}));

    // A docked window reports a turn before it has turned: upright now means it will lie.
    dock.onPlayerRotated(windows[1]);
    EXPECT_TRUE(dock.players()[1].landscape);
    dock.playerWantMax(windows[1]);
    dock.onPlayerRotated(windows[1]);
    EXPECT_FALSE(dock.players()[1].landscape) << "outside, its shape is its orientation";
}

TEST_F(GroupDockTest, StartsStopsAndHiddenOfflineInstances) {
    settings.set(common::settings::groupcontrolHideOffLinePlayer, true);
    dock.setPlayers(L"farm", records(0));
    EXPECT_EQ(dock.page(), FramePage::NoneRunning);
    EXPECT_TRUE(dock.tiles().empty());

    dock.onPlayerStateChanged(2, true, windows[2]);
    EXPECT_EQ(desktop.window(windows[2]).parent, frame);
    ASSERT_EQ(dock.tiles().size(), 1u);
    EXPECT_EQ(dock.tiles()[0].window, windows[2]);
    EXPECT_EQ(dock.page(), FramePage::Players);

    dock.onPlayerStateChanged(2, false, 0);
    EXPECT_TRUE(dock.tiles().empty());
    EXPECT_EQ(dock.players()[2].saved.width, 0);
    EXPECT_FALSE(dock.hasRunningPlayer());
}

TEST_F(GroupDockTest, ReleaseRemoveAndCloseSendEveryWindowBack) {
    dock.setPlayers(L"farm", records(3));
    dock.playerWantMax(windows[2]);
    desktop.posts.clear();
    dock.quitPlayers(true);
    EXPECT_EQ(desktop.posts.size(), 2u) << "only docked instances are closed with the frame";

    dock.removePlayer(1, true);
    EXPECT_EQ(desktop.window(windows[1]).parent, 0u);
    EXPECT_FALSE(dock.holdsIndex(1));
    EXPECT_EQ(dock.tiles().size(), 3u);

    dock.releaseAll();
    for (auto w : {windows[0], windows[2]}) {
        EXPECT_EQ(desktop.window(w).parent, 0u);
        EXPECT_TRUE(desktop.window(w).visible);
        EXPECT_EQ(desktop.postsTo(w).back(), (Post{w, 25003, 0, frameParam()}));
    }
    EXPECT_EQ(desktop.lastPlace(windows[0]), (std::vector<int>{13000, 40, 40, 360}));

    dock.reLoadPlayers();
    dock.releaseForGood(); // a crash
    dock.reLoadPlayers();  // what the user-interface thread may still do
    dock.onCollectBtnClicked(0);
    EXPECT_EQ(desktop.window(windows[0]).parent, 0u) << "nothing is taken in after a crash";
    EXPECT_EQ(desktop.window(windows[2]).parent, 0u);

    dock.clear();
    EXPECT_EQ(dock.page(), FramePage::Empty);
}

TEST_F(GroupDockTest, StoredColumnSettingsFixTheGrid) {
    settings.set(common::settings::groupAutoSort, false);
    settings.set(common::settings::groupSortNumber, 3);
    dock.setPlayers(L"farm", records(4));
    EXPECT_EQ(dock.columns(), 3);
    EXPECT_EQ(desktop.lastPlace(windows[3]), (std::vector<int>{13000, 2, 2 + 907 + 2, 530})) << "second row";
    settings.set(common::settings::groupSortNumber, 101);
    dock.reLoadPlayers();
    EXPECT_EQ(dock.columns(), 4);
}
