// The add dialog over the main window, headlessly: what it offers a small host, the line rules, refusing a
// bad count, the create series it starts, and the low-disk warning at the series' end.

#include <gtest/gtest.h>

#include "core/storage/ConfigDocument.h"
#include "core/storage/InstanceKeys.h"
#include "support/DiskImages.h"
#include "support/MainFrameFixture.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;
using mainui::KVAddPlayerFrame;

class AddDialogTest : public MainFrameFixture {
protected:
    mainui::HostFacts hostFacts{2, 4096};
    std::optional<std::uint64_t> freeBytes = 100ull << 30;
    std::vector<std::int32_t> finishedCreates;

    void SetUp() override {
        MainFrameFixture::SetUp();
        moreServices = [this](FrameServices& s) {
            s.openAddDialog = [this] { frame->showAddPlayerFrame(1); };
            s.hostFacts = [this] { return hostFacts; };
            s.freeDiskBytes = [this](const std::filesystem::path&) { return freeBytes; };
        };
        for (KV_PRODUCT_TYPE line : {KV_PRODUCT_14, KV_PRODUCT_9})
            writeDiskImage(players.line(line).templateDataPath(line == KV_PRODUCT_14), "template", 1 << 16);
    }
    ui::Window& dialog() { return frame->addPlayerFrame()->window(); }
    void openDialog() {
        ASSERT_TRUE(host.click(win(), L"btnAddVm"));
        ASSERT_TRUE(chooseMenu(L"MENU_ADD"));
        ASSERT_NE(frame->addPlayerFrame(), nullptr);
        frame->addPlayerFrame()->finishAnimation();
    }
    void setText(const wchar_t* name, const wchar_t* text) { dialog().findControl(name)->setText(text); }
    bool clickInDialog(const wchar_t* name) {
        const bool clicked = host.click(dialog(), name);
        frame->addPlayerFrame()->finishAnimation();
        return clicked;
    }
    std::vector<std::int64_t> tags(const wchar_t* combo) {
        std::vector<std::int64_t> out;
        for (const auto& item : dialog().find<ui::Combo>(combo)->items()) out.push_back(item.tag);
        return out;
    }
    void finishSeries() {
        ASSERT_TRUE(loop.runUntil([&] { return frame->addingCount() <= 0 && !model.isAdding(); }, 20s));
    }
    common::ConfigDocument config(KV_PRODUCT_TYPE line, int index) {
        common::ConfigDocument doc;
        EXPECT_TRUE(doc.load(players.line(line).configPath(index)));
        return doc;
    }
};

TEST_F(AddDialogTest, ASmallHostIsOfferedWhatItCanCarryWithItsLargestItemsPreselected) {
    open();
    openDialog();
    EXPECT_TRUE(dialog().isOpen());
    EXPECT_TRUE(win().overlayShown());
    EXPECT_EQ(tags(L"cpuCombo"), (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(dialog().find<ui::Combo>(L"cpuCombo")->selectedIndex(), 1);
    EXPECT_EQ(tags(L"memoryCombo"), (std::vector<std::int64_t>{512, 768, 1024, 1536, 2048, 3072}));
    EXPECT_EQ(dialog().find<ui::Combo>(L"memoryCombo")->selectedIndex(), 5);
    EXPECT_EQ(host.text(dialog(), L"numEdit"), L"1");
    EXPECT_FALSE(host.shown(dialog(), L"downloadTipLabel")) << "line 4 is installed";
}

TEST_F(AddDialogTest, TheDialogFollowsTheLineAndItsModesAndKeepsItsChoices) {
    addInstance(KV_PRODUCT_9, 0, L"nine");
    open(KV_PRODUCT_9);
    openDialog();
    auto* addFrame = frame->addPlayerFrame();
    EXPECT_EQ(addFrame->product(), KV_PRODUCT_9) << "mirrors the main window's line";
    EXPECT_FALSE(dialog().findControl(L"performanceMultiProBtn")->enabled());
    ASSERT_TRUE(clickInDialog(L"product14Btn"));
    EXPECT_TRUE(dialog().findControl(L"performanceMultiProBtn")->enabled());
    ASSERT_TRUE(clickInDialog(L"performanceMultiProBtn"));
    EXPECT_EQ(addFrame->performance(), mainui::kMultiPro);
    ASSERT_TRUE(clickInDialog(L"product9Btn"));
    EXPECT_EQ(addFrame->performance(), mainui::kBalanced);
    EXPECT_EQ(host.text(dialog(), L"performanceTip"), L"multiplay_add_performance_balanced_tip");
    EXPECT_EQ(host.text(dialog(), L"productTip"), L"multiplay_add_android9_tip");

    const int closedHeight = addFrame->targetHeight();
    ASSERT_TRUE(clickInDialog(L"advancedOptionsBtn"));
    const int advancedHeight = addFrame->targetHeight();
    EXPECT_GT(advancedHeight, closedHeight);
    ASSERT_TRUE(clickInDialog(L"phoneResolutionBtn"));
    auto* combo = dialog().find<ui::Combo>(L"resolutionCombo");
    EXPECT_EQ(combo->selectedText(), L"720 x 1280 (DPI 320)");
    ASSERT_TRUE(combo->chooseItem(3));
    ASSERT_TRUE(clickInDialog(L"definedResolutionBtn"));
    EXPECT_FALSE(combo->isShown());
    EXPECT_TRUE(host.shown(dialog(), L"resolutionDpiEditLayout"));
    EXPECT_EQ(addFrame->targetHeight(), advancedHeight + KVAddPlayerFrame::kCustomGrowth);
    EXPECT_EQ(dialog().clientSize().cy, advancedHeight + KVAddPlayerFrame::kCustomGrowth);
    ASSERT_TRUE(clickInDialog(L"phoneResolutionBtn"));
    EXPECT_EQ(combo->selectedText(), L"1080 x 1920 (DPI 480)") << "the phone preset chosen before";
    EXPECT_EQ(addFrame->targetHeight(), advancedHeight);

    ASSERT_TRUE(clickInDialog(L"cancelBtn"));
    EXPECT_FALSE(win().overlayShown());
    frame->showAddPlayerFrame(1);
    EXPECT_EQ(addFrame, frame->addPlayerFrame()) << "made once";
    EXPECT_EQ(addFrame->resolutionMode(), mainui::ResolutionMode::Phone);
    EXPECT_TRUE(host.shown(dialog(), L"advancedOptionsLayout"));
}

TEST_F(AddDialogTest, TheHelpButtonShowsTheDiskTipWhileTheMouseIsOverIt) {
    open();
    openDialog();
    auto& tip = frame->addPlayerFrame()->mouseTip();
    ASSERT_TRUE(host.hover(dialog(), L"helpBtn"));
    EXPECT_TRUE(tip.shown());
    EXPECT_EQ(host.text(tip.window(), L"contentlabel"), L"multis_player_disk_auto_tip");
    dialog().mouseMove({1, 1});
    EXPECT_FALSE(tip.shown());
}

TEST_F(AddDialogTest, ACountThatIsNoPositiveNumberIsRefusedAndNothingIsCreated) {
    open();
    openDialog();
    for (const wchar_t* bad : {L"", L"0", L"-1"}) {
        setText(L"numEdit", bad);
        ASSERT_TRUE(clickInDialog(L"sureBtn"));
        EXPECT_TRUE(dialog().isOpen()) << bad;
        EXPECT_TRUE(host.shown(dialog(), L"numErrorLabel")) << bad;
    }
    EXPECT_FALSE(model.isAdding());
    EXPECT_EQ(frame->addingCount(), 0);
}

TEST_F(AddDialogTest, ThreeCustomInstancesAreCreatedOneAfterAnotherWithTheChosenSettings) {
    open();
    openDialog();
    model.events().createFinished.subscribe(
        frame->ownerKey(), [this](KV_PRODUCT_TYPE, std::int32_t id) { finishedCreates.push_back(id); });
    ASSERT_TRUE(clickInDialog(L"advancedOptionsBtn"));
    ASSERT_TRUE(clickInDialog(L"definedResolutionBtn"));
    setText(L"resolutionWidthEdit", L"1000");
    setText(L"resolutionHeightEdit", L"600");
    setText(L"resolutionDpiEdit", L"200");
    ASSERT_TRUE(clickInDialog(L"performanceMultiBtn"));
    setText(L"numEdit", L"3");
    ASSERT_TRUE(clickInDialog(L"sureBtn"));
    EXPECT_FALSE(dialog().isOpen());
    EXPECT_TRUE(log.contains("KVMultiMainFrame::onAddPlayer", L"add player 4 3"));
    finishSeries();
    EXPECT_EQ(finishedCreates, (std::vector<std::int32_t>{id14(0), id14(1), id14(2)}));
    // A create started while another ran would have been refused with this line.
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::addPlayer", L"it is adding. not do"), 0);
    for (int index = 0; index < 3; ++index) {
        const common::ConfigDocument doc = config(KV_PRODUCT_14, index);
        EXPECT_EQ(doc.getInt(common::keys::kResolutionDpi, 0), 200) << index;
        EXPECT_EQ(doc.getInt(common::keys::kCpuCount, 0), 2) << index;
        EXPECT_EQ(doc.getInt(common::keys::kMemorySize, 0), 3072) << index;
        EXPECT_EQ(doc.getInt(common::keys::kVMemUsage, 0), 2) << index;
        EXPECT_EQ(doc.getInt(common::keys::kFps, 0), 60) << index;
        EXPECT_EQ(row(id14(index)).status(), 0) << index;
    }
    EXPECT_EQ(boxText(), L"") << "plenty of disk left";
}

TEST_F(AddDialogTest, ASeriesEndsWithAWarningOnlyBelowFourGibibytesFree) {
    struct Case {
        std::uint64_t free;
        std::wstring box;
    };
    open();
    for (const Case& c : {Case{4294967296ull, L""}, Case{4294967295ull, L"multiplay_insufficient_disk_space_notice"}}) {
        freeBytes = c.free;
        frame->startAddSeries(KV_PRODUCT_9, 1, {});
        finishSeries();
        EXPECT_EQ(boxText(), c.box) << c.free;
    }
}

} // namespace
