// The skins and theme images the build packs into rqresource.rcc: they load, carry every control name the
// windows look up, and every image they or the windows name is in the pack.

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "core/text/Utf.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/List.h"
#include "toolkit/MessageBox.h"
#include "toolkit/SkinResources.h"

using namespace ui;

namespace {

struct ShippedSkins : testing::Test {
    static void SetUpTestSuite() { ASSERT_TRUE(pack().open(KV_RESOURCE_PACK)); }
    static common::rcc::ResourcePack& pack() {
        static common::rcc::ResourcePack instance;
        return instance;
    }
    std::string skin(std::wstring_view name) {
        const auto bytes = SkinResources({}, &pack()).read(name);
        EXPECT_TRUE(bytes) << common::text::toUtf8(name);
        return bytes.value_or("");
    }
    // Every image a skin names, in file='...' form or as a bare attribute value.
    static std::vector<std::string> imagesIn(const std::string& xml) {
        std::vector<std::string> out;
        const std::regex image(R"([A-Za-z0-9_\\/]+\.png)");
        for (auto it = std::sregex_iterator(xml.begin(), xml.end(), image); it != std::sregex_iterator(); ++it)
            out.push_back(common::text::toUtf8(normalizeImageName(common::text::fromUtf8(it->str()))));
        return out;
    }
    // The words of a blank-separated list.
    static std::vector<std::wstring> words(std::wstring_view list) {
        std::vector<std::wstring> out;
        std::wistringstream in{std::wstring(list)};
        for (std::wstring word; in >> word;) out.push_back(word);
        return out;
    }
    void expectPacked(const std::vector<std::string>& images) {
        for (const auto& name : images) EXPECT_TRUE(pack().entry("skin/" + name)) << name;
    }
    HeadlessHost host;
};

} // namespace

TEST_F(ShippedSkins, TheMainWindowLoadsWithEveryNamedControl) {
    const std::string xml = skin(L"xml_multis_player_rootwindow.xml");
    std::wstring error;
    Window* w = host.open(xml, 1.0, {}, &error);
    ASSERT_TRUE(w) << common::text::toUtf8(error);
    for (const auto& name : words(L"titleText menuBtn closebtn voiceOffBtn voiceCloseTipLabel voiceCloseIconImage "
                                  L"productLayout product14Btn product9Btn product5_32Btn product5_64Btn product3Btn "
                                  L"actionBarBackground listVm btnSelAllHoverLayout btnSelAllHover btnSelAll btnAddVm "
                                  L"batchOpBar btnBatchLaunch btnBatchQuit btnBatchMore searchLayout searchEdit "
                                  L"searchClearBtn searchBtn sortBtn addGroupBtn btnSequeueWin otherSetupBtn "
                                  L"_only_model_control_"))
        EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(name);
    EXPECT_FALSE(host.shown(*w, L"voiceOffBtn"));
    EXPECT_FALSE(host.shown(*w, L"batchOpBar"));
    EXPECT_FALSE(w->overlayShown());
    // The list takes what the bars leave, and the tool bar sits below it inside the window.
    const Rect list = host.rect(*w, L"listVm");
    EXPECT_GT(list.height(), 300);
    EXPECT_LE(host.rect(*w, L"btnAddVm").bottom, w->clientSize().cy);
    EXPECT_GE(host.rect(*w, L"btnAddVm").top, list.bottom);
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, AnInstanceRowLoadsWithEveryNamedControlAndClicksReachItsButtons) {
    const std::string xml = skin(L"xml_multis_player_list_item.xml");
    Window* w = host.open(R"(<Window size="720,200"><VerticalLayout><List name="listVm"/></VerticalLayout></Window>)");
    std::wstring error;
    auto row = host.row(xml, &error);
    ASSERT_TRUE(row) << common::text::toUtf8(error);
    Control* added = w->find<List>(L"listVm")->add(std::move(row));
    for (const auto& name :
         words(L"btnBackground optionSel labelNameBtn lableNameControl editlayout editName groupIcon "
               L"indexName iconAndVersion labelAndVerion infoLayout labelCpuMemoryInfo "
               L"labelResolutionInfo labelDiskInfo labelStatus spaceAfterStatus progressbar "
               L"startBtnLayout startBtn installBtn stopDownloadBtn moreBtn redPointControl "
               L"btnSettingVm btnBackupVm shortcutVm btnRemoveVm"))
        EXPECT_TRUE(added->findByName(name)) << common::text::toUtf8(name);
    EXPECT_EQ(host.rect(*w, L"btnBackground").height(), 50);
    EXPECT_EQ(host.rect(*w, L"labelStatus").width(), 70);
    host.click(*w, L"startBtn");
    host.click(*w, L"labelDiskInfo"); // a label: the row's background button takes the click
    host.click(*w, L"labelNameBtn");
    std::vector<std::wstring> clicks;
    for (const auto& e : host.takeEvents())
        if (e.starts_with(L"click:")) clicks.push_back(e);
    EXPECT_EQ(clicks, (std::vector<std::wstring>{L"click:startBtn", L"click:btnBackground", L"click:labelNameBtn"}));
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, AGroupRowLoadsWithEveryNamedControl) {
    const std::string xml = skin(L"xml_multis_player_list_groupitem.xml");
    std::wstring error;
    auto row = host.row(xml, &error);
    ASSERT_TRUE(row) << common::text::toUtf8(error);
    for (const auto& name : words(L"btnBackgroundGroup optionGroupSel lableNameGroupBtn lableNameGroup editlayout "
                                  L"editNameGroup moreBtnGroup groupExpandBtn redPointControl"))
        EXPECT_TRUE(row->findByName(name)) << common::text::toUtf8(name);
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, TheMoveToGroupDialogLoadsWithEveryNamedControl) {
    const std::string xml = skin(L"xml_multis_movegroup.xml");
    std::wstring error;
    Window* w = host.open(xml, 1.0, {}, &error);
    ASSERT_TRUE(w) << common::text::toUtf8(error);
    for (const auto& name : words(L"titlelabel closebtn mnqCombo cancelBtn confirmBtn"))
        EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(name);
    EXPECT_LE(host.rect(*w, L"confirmBtn").bottom, w->clientSize().cy);
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, TheGroupFrameItsTileAndItsSettingsLoadWithEveryNamedControl) {
    const struct {
        const wchar_t* file;
        const wchar_t* names;
    } skins[] = {
        {L"xml_groupcontrolframe.xml", L"titleText morebtn maxbtnxx restorebtnxx closebtnex mainTabLayout "
                                       L"playerListLayout showHidePlayerBtn"},
        {L"xml_groupcontrol_setup.xml", L"hideOffLineOption savePosOption closeNoiceOption autoSortOption "
                                        L"sizeSortOption sortNumberEdit saveBtn cancelBtn closebtn"},
    };
    for (const auto& s : skins) {
        const std::string xml = skin(s.file);
        std::wstring error;
        Window* w = host.open(xml, 1.0, {}, &error);
        ASSERT_TRUE(w) << common::text::toUtf8(error);
        for (const auto& name : words(s.names))
            EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(s.file) << " " << common::text::toUtf8(name);
        expectPacked(imagesIn(xml));
    }
    const std::string tileXml = skin(L"xml_groupcontrol_playeritem.xml");
    std::wstring error;
    const auto tile = host.row(tileXml, &error);
    ASSERT_TRUE(tile) << common::text::toUtf8(error);
    for (const auto& name : words(L"playerItemLayout playerItemStartBtn collectBtn tipLabel"))
        EXPECT_TRUE(tile->findByName(name)) << common::text::toUtf8(name);
    expectPacked(imagesIn(tileXml));
}

TEST_F(ShippedSkins, TheAddDialogAndItsTipLoadWithEveryNamedControl) {
    const std::string xml = skin(L"xml_multiaddplayerframe.xml");
    std::wstring error;
    Window* w = host.open(xml, 1.0, {}, &error);
    ASSERT_TRUE(w) << common::text::toUtf8(error);
    for (const auto& name :
         words(L"titlelabel closebtn product14Btn product9Btn product5Btn productTip downloadTipLabel "
               L"performanceBalancedBtn performanceMultiBtn performanceMultiProBtn performanceTip "
               L"numEdit numErrorLabel smallDiskOpt helpBtn advancedOptionsBtn advancedOptionsLayout "
               L"tabletResolutionBtn phoneResolutionBtn definedResolutionBtn resolutionCombo "
               L"resolutionWidthEditLayout resolutionWidthEdit resolutionHeightEditLayout "
               L"resolutionHeightEdit resolutionDpiEditLayout resolutionDpiEdit cpuCombo memoryCombo "
               L"cancelBtn sureBtn"))
        EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(name);
    EXPECT_LE(host.rect(*w, L"sureBtn").bottom, w->clientSize().cy);
    expectPacked(imagesIn(xml));
    const std::string tip = skin(L"xml_multimousetip.xml");
    Window* t = host.open(tip, 1.0, {}, &error);
    ASSERT_TRUE(t) << common::text::toUtf8(error);
    EXPECT_TRUE(t->findControl(L"contentlabel"));
    expectPacked(imagesIn(tip));
}

TEST_F(ShippedSkins, TheSettingsDialogLoadsWithItsNinePagesAndEveryNamedControl) {
    const std::string xml = skin(L"xml_playersetting.xml");
    std::wstring error;
    Window* w = host.open(xml, 1.0, {}, &error);
    ASSERT_TRUE(w) << common::text::toUtf8(error);
    auto* pages = w->find<TabLayout>(L"maintab");
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->count(), 9u);
    for (const auto& name :
         words(L"titlelabel closebtn savebtn cancelbtn gamesettingBtn advancedsettingbtn propertysettingbtn "
               L"distSettingBtn audiosettingbtn networksettingbtn hotkeysettingbtn resurfacingBtn basicsettingbtn "
               L"definedSolutionOpt opt1280x720 opt720x1280 resolutionwidth resolutionheight resolutiondpi cpucombo "
               L"memorycombo quitcombo adbCombo fpsSlider fpsTip uMemUsageTip vMemUsageDefaultOption "
               L"vMemUsageDisplayOption vMemUsageUsedOption autoRunOnOpt rootModeOnOpt mulTabOnOpt mulTabOffOpt "
               L"StandalonesystemOnOpt StandalonesystemOffOpt connectNetworkOpt networkSettings ipSettingStaticOpt "
               L"ipSettingDhcpOpt networkAddressEdit networkDNS2Edit imeicodeedit phonenumberedit phonebrandedit "
               L"phonemodeledit bosskey multiKey recordPauseBtn heighFrameRateOpt normalFrameRateOpt"))
        EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(name);
    EXPECT_LE(host.rect(*w, L"savebtn").bottom, w->clientSize().cy);
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, TheCopyDialogLoadsWithEveryNamedControl) {
    const std::string xml = skin(L"xml_multicopyplayerframe.xml");
    std::wstring error;
    Window* w = host.open(xml, 1.0, {}, &error);
    ASSERT_TRUE(w) << common::text::toUtf8(error);
    for (const auto& name :
         words(L"titlelabel closebtn mnqProductCombo mnqCombo numEdit numErrorLabel cancelBtn sureBtn"))
        EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(name);
    EXPECT_LE(host.rect(*w, L"sureBtn").bottom, w->clientSize().cy);
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, TheManagerWideWindowsLoadWithEveryNamedControl) {
    const struct {
        const wchar_t* file;
        const wchar_t* names;
        const wchar_t* lowest;
    } cases[] = {
        {L"xml_multi_player_backup_restore.xml",
         L"titlelabel closebtn backupBg backupTitle backupBtn restoreBg restoreTitle restoreBtn useCompressOpt",
         L"useCompressOpt"},
        {L"xml_multi_player_setup(all).xml",
         L"spreadAlignBtn overlayAlignBtn windowsAlignTab windowsAutoSizeOpt notoutscreenOpt notoutscreenLabel "
         L"morescreenOnlyOpt vmdkFastModeBtn vmdkStableModeBtn vmdkModeTip vmdkSmallModeOpt batchStartIntervalEdit "
         L"windowsRowCountEdit windowsOriginXEdit windowsOriginYEdit windowsOffsetXEdit windowsOffsetYEdit savebtn "
         L"cancelbtn",
         L"savebtn"},
        {L"xml_multi_player_setup(all)_other.xml",
         L"defaultFrameBtn lowFrameBtn frameTip fpsSliderLayout fpsSlider fpsLabel reduceAudioOpt "
         L"windowsRecordPosOpt savebtn cancelbtn",
         L"savebtn"},
    };
    for (const auto& c : cases) {
        const std::string xml = skin(c.file);
        std::wstring error;
        Window* w = host.open(xml, 1.0, {}, &error);
        ASSERT_TRUE(w) << common::text::toUtf8(error);
        for (const auto& name : words(c.names))
            EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(c.file) << " " << common::text::toUtf8(name);
        EXPECT_LE(host.rect(*w, c.lowest).bottom, w->clientSize().cy) << common::text::toUtf8(c.file);
        expectPacked(imagesIn(xml));
    }
}

TEST_F(ShippedSkins, TheMenuSkinLoadsWithItsPatterns) {
    const std::string xml = skin(L"xml_menu_mul.xml");
    std::wstring error;
    Window* w = host.open(xml, 1.0, {}, &error);
    ASSERT_TRUE(w) << common::text::toUtf8(error);
    for (const auto& name : words(L"menuLayout menuItem setperater"))
        EXPECT_TRUE(w->findControl(name)) << common::text::toUtf8(name);
    expectPacked(imagesIn(xml));
}

TEST_F(ShippedSkins, ImagesTheWindowsAndBoxesNameAreInThePack) {
    expectPacked(imagesIn(std::string(msg::kMessageBoxSkin)));
    for (const auto& image : words(L"common/msg_noice48.png common/msg_ok48.png menu/item_bg_hot_multi.png "
                                   L"menu/menu_bg.png common14/bg.png common14/bg_corner_8000_white_alpha_3.png "
                                   L"common14/bg_corner_0000_white_alpha_3.png common9/checkbox_normal.png "
                                   L"common9/checkbox_hover.png common9/checkbox_part_selected_normal.png "
                                   L"common9/edit_bg_normal.png common9/edit_bg_hot.png common9/edit_bg_push.png "
                                   L"mainbar5/key_clash.png multiplayer_all/sort.png multiplayer_all/sort_up.png "
                                   L"multiplayer_all/pack_off.png multiplayer_all/pack_up.png "
                                   L"multiplayer_all/download.png multiplayer_all/download2.png"))
        expectPacked({common::text::toUtf8(image)});
    for (const char* stem : {"start", "quit", "install", "retry_download"})
        for (const char* state : {"normal", "hover", "pushed"})
            expectPacked({std::string("multiplayer_all/") + stem + "_" + state + ".png"});
    // They decode.
    SkinResources resources({}, &pack());
    const Bitmap* start = resources.image(L"multiplayer_all\\start_normal.png");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->width, 28);
    EXPECT_EQ(start->at(14, 14) >> 24, 0xFFu);
    EXPECT_EQ(start->at(0, 0), 0u);
}
