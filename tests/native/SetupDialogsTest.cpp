// The manager setup dialog and the other-settings dialog over the main window, headlessly on the shipped
// skins: what an empty settings store shows, the couplings between controls, what Save writes to which
// settings files and that Cancel writes nothing, the disk check's prompt, and the frame-rate slider.

#include <gtest/gtest.h>

#include <map>

#include "core/text/Utf.h"

#include "support/MainFrameFixture.h"
#include "toolkit/Button.h"
#include "toolkit/Container.h"
#include "toolkit/Slider.h"
#include "ui/setup/DiskModeCheck.h"
#include "ui/setup/GameQualityChangeTipFrame.h"

namespace {

using namespace testing_support;

class SetupDialogsTest : public MainFrameFixture {
protected:
    std::map<std::wstring, bool> solid; // drive → solid-state; others are not

    void SetUp() override {
        MainFrameFixture::SetUp();
        moreServices = [this](FrameServices& s) {
            s.openSetup = [this] { frame->showSetupFrame(); };
            s.openOtherSetup = [this] { frame->showOtherSetupFrame(); };
            s.solidState = [this](std::wstring_view drive) { return solid[std::wstring(drive)]; };
        };
        addInstance(KV_PRODUCT_9, 0, L"nine"); // a tab of line 2, whose tool bar has the other-settings button
        open(KV_PRODUCT_9);
    }
    ui::Window& setup() { return frame->setupFrame()->window(); }
    ui::Window& other() { return frame->otherSetupFrame()->window(); }
    void openSetup() {
        ASSERT_TRUE(host.click(win(), L"menuBtn"));
        ASSERT_TRUE(chooseMenu(L"MENU_SETUP"));
        ASSERT_TRUE(setup().isOpen());
    }
    void openOther() {
        ASSERT_TRUE(host.click(win(), L"otherSetupBtn"));
        ASSERT_TRUE(other().isOpen());
    }
    static bool checked(ui::Window& w, const wchar_t* name) { return w.find<ui::Option>(name)->selected(); }
    static bool enabled(ui::Window& w, const wchar_t* name) { return w.findControl(name)->enabled(); }
    // The settings file of a line (or the manager's, for none) as it is on disk now.
    common::GlobalSettings file(std::optional<KV_PRODUCT_TYPE> line) {
        common::GlobalSettings s;
        s.load(line ? players.line(*line).installFolder() : program.path());
        return s;
    }
    bool fileExists(std::optional<KV_PRODUCT_TYPE> line) { return std::filesystem::exists(file(line).path()); }
};

TEST_F(SetupDialogsTest, AnEmptyStoreOpensTheSetupDialogWithTheDefaults) {
    const std::optional<KV_PRODUCT_TYPE> files[] = {KV_PRODUCT_14, KV_PRODUCT_9, std::nullopt};
    std::vector<std::string> before;
    for (auto line : files) before.push_back(readFile(file(line).path()));
    openSetup();
    EXPECT_TRUE(win().overlayShown());
    EXPECT_FALSE(enabled(setup(), L"spreadAlignBtn")) << "spread is current";
    EXPECT_TRUE(enabled(setup(), L"overlayAlignBtn"));
    EXPECT_EQ(setup().find<ui::TabLayout>(L"windowsAlignTab")->selectedIndex(), 0);
    EXPECT_TRUE(checked(setup(), L"windowsAutoSizeOpt"));
    EXPECT_TRUE(checked(setup(), L"notoutscreenOpt"));
    EXPECT_TRUE(enabled(setup(), L"notoutscreenOpt"));
    EXPECT_EQ(setup().findControl(L"notoutscreenLabel")->textColor(), setupui::MultiSetupFrame::kLabelOn);
    EXPECT_TRUE(checked(setup(), L"morescreenOnlyOpt"));
    EXPECT_FALSE(enabled(setup(), L"vmdkFastModeBtn")) << "fast is current";
    EXPECT_EQ(host.text(setup(), L"vmdkModeTip"), L"multiplay_setup_disk_fast_tip");
    EXPECT_FALSE(checked(setup(), L"vmdkSmallModeOpt"));
    const std::pair<const wchar_t*, const wchar_t*> numbers[] = {
        {L"batchStartIntervalEdit", L"5"}, {L"windowsRowCountEdit", L"4"}, {L"windowsOriginXEdit", L"0"},
        {L"windowsOriginYEdit", L"0"},     {L"windowsOffsetXEdit", L"40"}, {L"windowsOffsetYEdit", L"40"}};
    for (const auto& [edit, text] : numbers) EXPECT_EQ(host.text(setup(), edit), text) << edit;

    ASSERT_TRUE(host.click(setup(), L"cancelbtn"));
    EXPECT_FALSE(setup().isOpen());
    EXPECT_FALSE(win().overlayShown());
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(readFile(file(files[i]).path()), before[i]) << "Cancel writes nothing";
}

TEST_F(SetupDialogsTest, SavingWritesEveryValueToEveryInstalledLineAndTheManager) {
    openSetup();
    ASSERT_TRUE(host.click(setup(), L"windowsAutoSizeOpt"));
    EXPECT_FALSE(checked(setup(), L"notoutscreenOpt")) << "unchecked with auto size";
    EXPECT_FALSE(enabled(setup(), L"notoutscreenOpt"));
    EXPECT_EQ(setup().findControl(L"notoutscreenLabel")->textColor(), setupui::MultiSetupFrame::kLabelOff);
    ASSERT_TRUE(host.click(setup(), L"overlayAlignBtn"));
    EXPECT_EQ(setup().find<ui::TabLayout>(L"windowsAlignTab")->selectedIndex(), 1);
    setup().findControl(L"windowsOffsetYEdit")->setText(L"25");
    setup().findControl(L"batchStartIntervalEdit")->setText(L"0");
    setup().findControl(L"windowsRowCountEdit")->setText(L"");
    ASSERT_TRUE(host.click(setup(), L"savebtn"));
    EXPECT_FALSE(setup().isOpen());

    using namespace common::settings;
    for (auto line : {std::optional(KV_PRODUCT_14), std::optional(KV_PRODUCT_9), std::optional(KV_PRODUCT_71_32),
                      std::optional<KV_PRODUCT_TYPE>()}) {
        const common::GlobalSettings s = file(line);
        ASSERT_TRUE(fileExists(line));
        EXPECT_FALSE(s.get(windowsAutoSize));
        EXPECT_FALSE(s.get(sortwndnotoutscreen));
        EXPECT_EQ(s.get(windowsAlignType), 1);
        EXPECT_EQ(s.get(windowsOffset), (common::Point{40, 25}));
        EXPECT_EQ(s.get(batchStartInterval), 0) << "not range-checked here";
        EXPECT_EQ(s.get(windowsRowCount), 4) << "an edit without a number keeps what it showed";
        EXPECT_TRUE(s.get(vmdkFastMode));
        ASSERT_NE(s.document(), nullptr);
    }
    EXPECT_FALSE(fileExists(KV_PRODUCT_71_64)) << "not installed";
}

TEST_F(SetupDialogsTest, StableModeAsksNamingTheLinesOnSlowDisks) {
    const auto folders = [](std::wstring l4, std::wstring l2, std::wstring l0) {
        model::InstallFolders f;
        f[KV_PRODUCT_14] = std::move(l4);
        f[KV_PRODUCT_9] = std::move(l2);
        f[KV_PRODUCT_71_32] = std::move(l0);
        f[KV_PRODUCT_51] = L"Q:\\old"; // never checked
        return f;
    };
    solid = {{L"C:", true}};
    const struct {
        model::InstallFolders folders;
        std::wstring failing;
    } cases[] = {
        {folders(L"C:\\a", L"D:\\b", L"E:\\c"), L"9\u30017"},
        {folders(L"D:\\a", L"", L"E:\\c"), L"14\u30017"},
        {folders(L"C:", L"C:\\b", L""), L"14"}, // two characters are no folder
        {folders(L"C:\\a", L"", L""), L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(setupui::linesOnSlowDisks(c.folders, [this](std::wstring_view d) { return solid[std::wstring(d)]; }),
                  c.failing);

    openSetup(); // the fixture's lines lie on no drive that answers
    ASSERT_TRUE(host.click(setup(), L"vmdkStableModeBtn"));
    EXPECT_EQ(boxText(), L"multiplay_setup_disk_set_stable_tip") << "the test table has no {version} to fill";
    EXPECT_FALSE(enabled(setup(), L"vmdkFastModeBtn")) << "still fast until the user agrees";
    ASSERT_TRUE(pressBoxButton(2));
    EXPECT_TRUE(enabled(setup(), L"vmdkFastModeBtn"));
    EXPECT_EQ(host.text(setup(), L"vmdkModeTip"), L"multiplay_setup_disk_stable_tip");
    ASSERT_TRUE(host.click(setup(), L"savebtn"));
    EXPECT_FALSE(file(std::nullopt).get(common::settings::vmdkFastMode));
}

TEST_F(SetupDialogsTest, TheOtherSettingsOpenInTheStoredFrameModeAndSaveAllButAndroid14) {
    const struct {
        std::optional<int> stored;
        bool low;
        int slider;
    } cases[] = {{std::nullopt, false, 60}, {30, true, 30}, {60, false, 60}, {35, true, 30}, {5, true, 1}};
    for (const auto& c : cases) {
        common::GlobalSettings& own = players.own().settings();
        own.reload();
        own.set(common::settings::framesPerSecond, c.stored.value_or(60));
        ASSERT_TRUE(own.save());
        openOther();
        EXPECT_EQ(checked(other(), L"lowFrameBtn"), c.low) << c.slider;
        EXPECT_EQ(checked(other(), L"defaultFrameBtn"), !c.low) << c.slider;
        EXPECT_EQ(other().findControl(L"fpsSliderLayout")->visible(), c.low) << c.slider;
        EXPECT_EQ(host.text(other(), L"frameTip"),
                  c.low ? L"multiplay_other_setup_frame_low_tip" : L"multiplay_other_setup_frame_default_tip");
        if (c.low) {
            EXPECT_EQ(other().find<ui::Slider>(L"fpsSlider")->value(), c.slider);
        }
        ASSERT_TRUE(host.click(other(), L"cancelbtn"));
    }

    const std::pair<int, int> snaps[] = {{1, 1},   {4, 1},   {5, 10},  {14, 10}, {15, 20},
                                         {34, 30}, {35, 40}, {45, 50}, {50, 50}};
    for (const auto& [value, snapped] : snaps) EXPECT_EQ(setupui::snapFrameRate(value), snapped) << value;

    openOther(); // stored 5: low mode at 1
    ASSERT_TRUE(host.click(other(), L"defaultFrameBtn"));
    ASSERT_TRUE(host.click(other(), L"reduceAudioOpt"));
    ASSERT_TRUE(host.click(other(), L"savebtn"));
    for (auto line : {std::optional(KV_PRODUCT_9), std::optional(KV_PRODUCT_71_32), std::optional<KV_PRODUCT_TYPE>()}) {
        EXPECT_EQ(file(line).get(common::settings::framesPerSecond), 60) << "default mode writes 60";
        EXPECT_TRUE(file(line).get(common::settings::reduceAudio));
    }
    EXPECT_FALSE(fileExists(KV_PRODUCT_14)) << "Android 14's file is not touched";
}

TEST(GameQualityTip, OnlyTheInternationalEditionDrawsItsBackgroundPerLanguage) {
    const struct {
        std::wstring_view edition, language, image;
    } cases[] = {
        {L"rqplayer-en", L"th_TH", L"gamequalitytipbg_th.jpg"}, {L"rqplayer-en", L"ru_RU", L"gamequalitytipbg_ru.jpg"},
        {L"rqplayer-en", L"vi_VN", L"gamequalitytipbg_vn.jpg"}, {L"rqplayer-en", L"en_US", L"gamequalitytipbg.jpg"},
        {L"rqplayer", L"th_TH", L"gamequalitytipbg.jpg"},       {L"rqplayer", L"", L"gamequalitytipbg.jpg"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(view::gameQualityTipBackground(c.edition, c.language), L"multiplayer_all\\" + std::wstring(c.image))
            << common::text::toUtf8(c.edition) << " " << common::text::toUtf8(c.language);
}

TEST_F(SetupDialogsTest, TheQualityTipFollowsOnlyASaveThatLowersTheFrameRate) {
    openOther();
    ASSERT_TRUE(host.click(other(), L"lowFrameBtn"));
    ASSERT_TRUE(host.click(other(), L"savebtn"));
    loop.runPending();
    ASSERT_NE(frame->qualityTip(), nullptr);
    EXPECT_TRUE(frame->qualityTip()->window().isOpen());
    EXPECT_EQ(file(std::nullopt).get(common::settings::framesPerSecond), 50) << "60 stored: the slider's top stop";
    ASSERT_TRUE(host.click(frame->qualityTip()->window(), L"okbtn"));
    EXPECT_FALSE(win().overlayShown());

    openOther();
    ASSERT_TRUE(host.click(other(), L"savebtn"));
    loop.runPending();
    EXPECT_FALSE(frame->qualityTip()->window().isOpen()) << "the same rate again";
}

} // namespace
