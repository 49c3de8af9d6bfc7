#pragma once
// The main window over a real model, headlessly, for the tests of its parts: lines 14, 9 and 7.1 (32-bit)
// installed in a temporary folder, the window built from the shipped skins, and the host's services recorded.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <vector>

#include "core/dispatch/EventLoop.h"
#include "support/LogCapture.h"
#include "support/ModelWorld.h"
#include "support/ShippedSkin.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/List.h"
#include "ui/main/KVMultiMainFrame.h"

namespace testing_support {

using mainui::FrameServices;
using mainui::KVMultiMainFrame;
using mainui::KVMultiMainItem;
using mainui::ShortcutRequest;

// Lines 4, 2 and 0 installed in a temporary folder; the model and the window on an event loop standing for
// the user-interface thread.
class MainFrameFixture : public ::testing::Test, protected testing_support::ModelWorld {
protected:
    std::chrono::milliseconds skew{0}; // moves the loop's clock forward without waiting
    common::EventLoop loop{[this] { return std::chrono::steady_clock::now() + skew; }};
    common::Dispatcher dispatcher{loop};
    testing_support::LogCapture log;
    KVMultiModel model{players, sources, desktop, windows, program.path()};
    ui::HeadlessHost host;
    std::vector<int> closed;
    std::vector<int> grown;
    bool groupControl = false;
    std::set<std::wstring> openGroupFrames;
    std::vector<ShortcutRequest> shortcuts;
    bool shortcutSaves = true;
    std::unique_ptr<KVMultiMainFrame> frame;
    // More services for the next open (the windows of later work, for example).
    std::function<void(FrameServices&)> moreServices;
    bool installLine0 = true; // set before SetUp to leave line 7.1 (32-bit) for an install

    void SetUp() override {
        common::dispatch::install(&dispatcher);
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        install(KV_PRODUCT_9, L"player9", L"9.0.0.1");
        if (installLine0) install(KV_PRODUCT_71_32, L"player5", L"5.0.12.0");
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        players.own().init(program.path());
    }
    void TearDown() override {
        frame.reset();
        model.shutdown();
        common::dispatch::uninstall();
    }
    void open(std::optional<KV_PRODUCT_TYPE> requested = std::nullopt) {
        FrameServices services;
        services.closeWindow = [this](int code) { closed.push_back(code); };
        services.growHeight = [this](int delta, bool) { grown.push_back(delta); };
        services.groupControlOpen = [this] { return groupControl; };
        services.groupFrameOpen = [this](KV_PRODUCT_TYPE, const std::wstring& group) {
            return openGroupFrames.count(group) > 0;
        };
        services.createShortcut = [this](const ShortcutRequest& r) {
            shortcuts.push_back(r);
            return shortcutSaves;
        };
        if (moreServices) moreServices(services);
        frame = std::make_unique<KVMultiMainFrame>(model, players.own().settings(), host.factory(), services);
        const std::string window = shippedSkin(KVMultiMainFrame::kSkinFile);
        const std::string row = shippedSkin(KVMultiMainFrame::kRowSkinFile);
        const std::string groupRow = shippedSkin(KVMultiMainFrame::kGroupRowSkinFile);
        const std::string moveGroup = shippedSkin(mainui::KVMoveGroupWnd::kSkinFile);
        const std::string menu = shippedSkin(ui::RQMenuWnd::kSkinFile);
        const std::string addSkin = shippedSkin(mainui::KVAddPlayerFrame::kSkinFile);
        const std::string tipSkin = shippedSkin(mainui::KVMouseTip::kSkinFile);
        const std::string copySkin = shippedSkin(mainui::KVCopyPlayerFrame::kSkinFile);
        const std::string backupSkin = shippedSkin(setupui::MultiBackupRestoreWindow::kSkinFile);
        const std::string setupSkin = shippedSkin(setupui::MultiSetupFrame::kSkinFile);
        const std::string otherSkin = shippedSkin(setupui::MultiOtherSetupFrame::kSkinFile);
        const std::string qualitySkin = shippedSkin(view::GameQualityChangeTipFrame::kSkinFile);
        ASSERT_TRUE(frame->init({window, row, groupRow, moveGroup, menu, addSkin, tipSkin, copySkin, backupSkin,
                                 setupSkin, otherSkin, qualitySkin},
                                requested));
        frame->window().resize({760, 560});
        frame->window().layout();
    }
    ui::Window& win() { return frame->window(); }
    KVMultiMainItem& row(std::int32_t id) {
        KVMultiMainItem* r = frame->findRow(id);
        EXPECT_NE(r, nullptr) << id;
        return *r;
    }
    bool click(KVMultiMainItem& r, const wchar_t* name) {
        win().layout();
        ui::Control* c = r.part(name);
        if (!c || !c->isShown()) return false;
        const ui::Rect rc = c->rect();
        host.clickAt(win(), {rc.left + rc.width() / 2, rc.top + rc.height() / 2});
        return true;
    }
    bool pressBoxButton(int number) {
        msg::MessageBoxWindow* box = frame->currentBox();
        return box && host.click(*box->window(), L"msgbtn" + std::to_wstring(number - 1));
    }
    // The user picks the item of the open menu; false when no menu is open or the item is missing or disabled.
    bool chooseMenu(std::wstring_view command) {
        ui::RQMenuWnd* menu = frame->currentMenu();
        return menu && menu->choose(command);
    }
    std::wstring boxText() {
        msg::MessageBoxWindow* box = frame->currentBox();
        return box ? host.text(*box->window(), L"descriptlabel") : L"";
    }
};

constexpr std::int32_t id14(int index) {
    return (10 << 24) + index;
}
constexpr std::int32_t id9(int index) {
    return (5 << 24) + index;
}

} // namespace testing_support
