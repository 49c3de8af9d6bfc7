// Message boxes and popup menus.

#include <gtest/gtest.h>

#include "support/ShippedSkin.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/MenuWnd.h"
#include "toolkit/MessageBox.h"

using namespace ui;

namespace {

struct DialogsTest : testing::Test {
    HeadlessHost host;
    Window* frame = host.open(R"(<Window size="400,300"><VerticalLayout><Button name="startBtn"/>
        <Control name="_only_model_control_" float="true" visible="false"/></VerticalLayout></Window>)");
};

} // namespace

TEST_F(DialogsTest, ConfirmationClosesBeforeItsCallbackAndHidesTheOverlayOnce) {
    std::vector<std::string> order;
    msg::MessageBoxWindow box(0, L"prompt", L"Stop this instance?");
    box.addButton(L"cancel", [&] { order.push_back("cancel"); });
    box.addButton(L"confirm", [&] { order.push_back(box.isOpen() ? "confirm while open" : "confirm"); });
    box.setOnClose([&] {
        order.push_back("closed");
        frame->showOverlay(false);
    });
    frame->showOverlay(true);
    ASSERT_TRUE(box.show(*frame, host.factory()));
    Window& w = *box.window();
    EXPECT_EQ(host.text(w, L"titlelabel"), L"prompt");
    EXPECT_EQ(host.text(w, L"descriptlabel"), L"Stop this instance?");
    EXPECT_EQ(w.findControl(L"msgiconimage")->bkImage().file, L"common/msg_noice48.png");
    EXPECT_EQ(host.text(w, L"msgbtn1"), L"confirm");
    EXPECT_FALSE(host.shown(w, L"linkBtn"));

    host.click(*frame, L"startBtn");
    EXPECT_TRUE(host.click(w, L"msgbtn1"));
    EXPECT_EQ(order, (std::vector<std::string>{"closed", "confirm"}));
    EXPECT_FALSE(frame->overlayShown());
    host.click(*frame, L"startBtn");
    EXPECT_EQ(host.takeEvents().back(), L"click:startBtn");
}

TEST_F(DialogsTest, EscapeAndTheCloseButtonRunOnlyTheCloseCallback) {
    int closed = 0;
    bool pressed = false;
    msg::MessageBoxWindow box(3, L"prompt", L"done");
    box.addButton(L"confirm", [&] { pressed = true; });
    box.setNoMorePrompt(L"do not ask again");
    box.setOnClose([&] { ++closed; });
    ASSERT_TRUE(box.show(*frame, host.factory()));
    EXPECT_EQ(box.window()->findControl(L"msgiconimage")->bkImage().file, L"common/msg_ok48.png");
    host.click(*box.window(), L"noMorePromptOpt");
    EXPECT_TRUE(box.noMorePrompt());
    host.press(*box.window(), Key::Escape);
    host.press(*box.window(), Key::Escape);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(pressed);

    msg::MessageBoxWindow second(0, L"prompt", L"x");
    second.setOnClose([&] { ++closed; });
    ASSERT_TRUE(second.show(*frame, host.factory()));
    host.click(*second.window(), L"closebtn");
    EXPECT_EQ(closed, 2);
    EXPECT_FALSE(frame->inputBlocked());
}

TEST_F(DialogsTest, AMalformedBoxSkinShowsNothingAndBlocksNothing) {
    msg::MessageBoxWindow box(0, L"prompt", L"x");
    EXPECT_FALSE(box.show(*frame, host.factory(), "<Window"));
    EXPECT_FALSE(frame->inputBlocked());
}

std::string menuSkin() {
    return testing_support::shippedSkin(RQMenuWnd::kSkinFile);
}

TEST(RQMenuWnd, ChoosingAnEnabledItemClosesTheMenuThenCallsBack) {
    RQMenuWnd menu(menuSkin());
    menu.addItem(L"Settings", L"setup", false);
    menu.addItem(L"Copy", L"copy");
    menu.addSeparator();
    menu.addItem(L"Remove", L"delete");
    std::vector<std::wstring> chosen;
    ASSERT_TRUE(menu.popup({100, 200}, 1.0, [&](const std::wstring& command) {
        chosen.push_back(command + (RQMenuWnd::openMenu() ? L" while open" : L""));
    }));
    HeadlessHost host;
    Window& w = *menu.window();
    EXPECT_EQ(w.clientSize(), (Size{180, 8 + 3 * 38 + 9})); // the skin's width, padding and entry heights
    EXPECT_EQ(w.findControl(L"menuItem"), nullptr);         // the patterns are not entries
    EXPECT_EQ(w.findControl(L"copy")->text(), L"Copy");
    host.click(w, L"setup");
    host.click(w, L"setperater");
    EXPECT_TRUE(menu.isOpen());
    host.click(w, L"delete");
    EXPECT_FALSE(menu.isOpen());
    EXPECT_FALSE(menu.choose(L"copy"));
    EXPECT_EQ(chosen, (std::vector<std::wstring>{L"delete"}));
    EXPECT_EQ(RQMenuWnd::hotBackground(175), L"file='menu\\item_bg_hot_multi.png' dest='5,4,175,34'");
}

TEST(RQMenuWnd, OnlyOneMenuIsOpenAtATime) {
    RQMenuWnd first(menuSkin());
    RQMenuWnd second(menuSkin());
    first.addItem(L"a", L"MENU_ADD");
    second.addItem(L"b", L"MENU_COPY");
    first.popup({0, 0}, 1.0, nullptr);
    second.popup({0, 0}, 1.0, nullptr);
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(RQMenuWnd::openMenu(), &second);
    EXPECT_FALSE(first.choose(L"MENU_ADD"));
    {
        RQMenuWnd third(menuSkin());
        third.addItem(L"c", L"MENU_ALL");
        third.popup({0, 0}, 1.0, nullptr);
    }
    EXPECT_EQ(RQMenuWnd::openMenu(), nullptr);
}

TEST(RQMenuWnd, ASkinWithoutItsPatternsOpensNothing) {
    RQMenuWnd open(menuSkin());
    open.addItem(L"a", L"MENU_ADD");
    ASSERT_TRUE(open.popup({0, 0}, 1.0, nullptr));
    for (const char* skin : {"<Window", R"(<Window size="180,0"><VerticalLayout name="menuLayout"/></Window>)"}) {
        RQMenuWnd broken(skin);
        broken.addItem(L"b", L"MENU_COPY");
        EXPECT_FALSE(broken.popup({0, 0}, 1.0, nullptr)) << skin;
        EXPECT_FALSE(broken.isOpen());
    }
}
