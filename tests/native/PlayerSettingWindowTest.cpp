// The instance settings dialog over its shipped skin and a real model: what it writes, and what it leaves.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/dispatch/EventLoop.h"
#include "core/lang/LanguageStrings.h"
#include "core/model/KVMultiModel.h"
#include "core/storage/InstanceKeys.h"
#include "core/storage/PlayerConfig.h"
#include "support/LogCapture.h"
#include "support/ModelWorld.h"
#include "support/ShippedSkin.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/HeadlessHost.h"
#include "ui/settings/HotkeyText.h"
#include "ui/settings/PlayerSettingWindow.h"
#include "ui/settings/SettingRules.h"

namespace {

using common::CombineKey;
using namespace settingsui;

TEST(SettingRulesTest, ClampsTipsAndAddresses) {
    EXPECT_EQ(clampResolutionSide(10), 64);
    EXPECT_EQ(clampResolutionSide(5000), 4096);
    EXPECT_EQ(clampResolutionSide(1280), 1280);
    EXPECT_EQ(clampDpi(2000), 960);
    EXPECT_EQ(clampDpi(3), 10);
    EXPECT_STREQ(fpsTipKey(60), L"fps_tip_60");
    EXPECT_STREQ(fpsTipKey(61), L"fps_tip_more60");
    EXPECT_STREQ(fpsTipKey(59), L"fps_tip_less60");
    EXPECT_STREQ(memUsageTipKey(1), L"mem_usage_Display_tip");
    EXPECT_STREQ(memUsageTipKey(2), L"mem_usage_low_tp");
    EXPECT_STREQ(memUsageTipKey(7), L"mem_usage_auto_tip");
    EXPECT_EQ(diskSizeLabel(64), L"64G / 255G");
    for (const auto& [text, ok] : std::vector<std::pair<std::wstring, bool>>{{L"192.168.1.1", true},
                                                                             {L"0.0.0.0", true},
                                                                             {L"255.255.255.255", true},
                                                                             {L"256.1.1.1", false},
                                                                             {L"01.1.1.1", false},
                                                                             {L"1.1.1", false},
                                                                             {L"1.1.1.1.", false},
                                                                             {L"", false},
                                                                             {L"a.b.c.d", false}})
        EXPECT_EQ(isDottedQuad(text), ok) << text;
}

TEST(HotkeyTextTest, TextAndValidity) {
    struct Case {
        std::wstring_view edit;
        CombineKey key;
        std::wstring text;
        bool valid;
    };
    const std::vector<Case> cases = {
        {L"homekey", {2 | 4 | 1, 'A'}, L"Ctrl + Shift + Alt + A", true},
        {L"homekey", {0, 112}, L"F1", true},
        {L"homekey", {0, 27}, L"Esc", true},
        {L"homekey", {0, 'A'}, L"A", false},
        {L"bosskey", {0, 112}, L"F1", false},
        {L"bosskey", {2, 'Q'}, L"Ctrl + Q", true},
        {L"homekey", {4, 220}, L"Shift + \\", true},
        {L"homekey", {2, 0}, L"Ctrl + ", false},
        {L"homekey", {1, 105}, L"Alt + Num9", true},
        {L"homekey", {2, 187}, L"Ctrl + +", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(hotkeyText(c.key), c.text);
        EXPECT_EQ(hotkeyValid(c.edit, c.key), c.valid) << c.text;
    }
    EXPECT_EQ(keyName(255), L"");
    EXPECT_NE(hotkeyDisplayText(L"homekey", {0, 'A'}), L"A"); // the "(not set)" mark follows
    EXPECT_EQ(hotkeyDisplayText(L"homekey", {0, 113}), L"F2");
}

TEST(HotkeyCaptureTest, APressWithModifiersBecomesTheCombination) {
    struct Case {
        std::uint16_t key;
        int modifiers;
        std::optional<CombineKey> captured;
    };
    const std::vector<Case> cases = {
        {'A', kModCtrl, CombineKey{kModCtrl, 'A'}},
        {'A', kModCtrl | kModAlt | kModShift, CombineKey{7, 'A'}},
        {112, 0, CombineKey{0, 112}},
        {17, kModCtrl, std::nullopt},  // Ctrl alone waits for its key
        {0xA4, kModAlt, std::nullopt}, // so does the left Alt
        {8, 0, CombineKey{}},          // Backspace clears
        {46, 0, CombineKey{}},         // and Delete
        {46, kModCtrl, CombineKey{kModCtrl, 46}},
        {9, 0, std::nullopt}, // Tab moves on
        {9, kModAlt, CombineKey{kModAlt, 9}},
        {'Q', 8 | kModShift, CombineKey{kModShift, 'Q'}}, // other bits are not modifiers
    };
    for (const Case& c : cases) EXPECT_EQ(captureHotkey(c.key, c.modifiers), c.captured) << c.key;
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A configuration with every identity key (so loading completes nothing) and keys this program does not know.
constexpr const char* kConfig = R"({
    "statusSettings.playerName": "one",
    "propertySettings.phoneModel": "M1",
    "propertySettings.phoneManufacturer": "Maker",
    "propertySettings.phoneIMEI": "490154203237518",
    "advancedSettings.cpuCount": 2,
    "advancedSettings.resolution": {"width": 1280, "height": 720},
    "networkSettings.networkStatic": true,
    "networkSettings.networkAddress": "10.0.0.5",
    "future.unknownKey": [1, 2, {"deep": "kept"}],
    "basicSettings.somethingNew": "x"
})";

class PlayerSettingWindowTest : public ::testing::Test, protected testing_support::ModelWorld {
public: // the cases of a table act on the fixture
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    testing_support::LogCapture log;
    KVMultiModel model{players, sources, desktop, windows, program.path()};
    ui::HeadlessHost host;
    ui::Window* owner = nullptr;
    std::vector<std::int32_t> notified;
    std::vector<std::wstring> autoRuns;
    msg::MessageBoxWindow* box = nullptr; // the last one shown
    std::unique_ptr<common::PlayerSettingWindow> dialog;

    void SetUp() override {
        common::dispatch::install(&dispatcher);
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        install(KV_PRODUCT_9, L"player9", L"9.0.0.1");
        owner = host.open(R"(<Window size="200,200"><Control/></Window>)");
        common::SettingServices services;
        services.notifySettingsChanged = [this](std::int32_t id) { notified.push_back(id); };
        services.setAutoRun = [this](const std::wstring& value) { autoRuns.push_back(value); };
        services.showBox = [this](msg::MessageBoxWindow& shown) { box = &shown; };
        dialog = std::make_unique<common::PlayerSettingWindow>(model, players, services);
        ASSERT_TRUE(
            dialog->create(host.factory(), testing_support::shippedSkin(common::PlayerSettingWindow::kSkinFile)));
    }
    void TearDown() override {
        dialog.reset();
        model.shutdown();
        common::dispatch::uninstall();
    }
    std::filesystem::path configOf(KV_PRODUCT_TYPE line, int index) {
        return common::PlayerConfig::configPathOf(players.line(line).baseFolder(), index);
    }
    void writeConfig(KV_PRODUCT_TYPE line, int index, const char* text = kConfig) {
        std::filesystem::create_directories(configOf(line, index).parent_path());
        std::ofstream(configOf(line, index), std::ios::binary) << text;
    }
    common::ConfigDocument configDoc(KV_PRODUCT_TYPE line, int index) {
        common::ConfigDocument doc;
        doc.load(configOf(line, index));
        return doc;
    }
    void open(std::vector<std::int32_t> ids) {
        dialog->open(ids, {}, nullptr);
        dialog->window().showModal(*owner);
        dialog->window().resize({860, 620});
        dialog->window().layout();
    }
    ui::Window& win() { return dialog->window(); }
    void leaveEdit(const wchar_t* name, const std::wstring& text) {
        ASSERT_TRUE(host.click(win(), name)) << name;
        win().findControl(name)->setText(text);
        ASSERT_TRUE(host.click(win(), page)); // the focus leaves the edit for the page's own tab button
    }
    void showPage(const wchar_t* tab) {
        page = tab;
        ASSERT_TRUE(host.click(win(), tab)) << tab;
        win().layout();
    }
    const wchar_t* page = L"gamesettingBtn";
};

std::int32_t id14(int index) {
    return product::encodeInstanceId(KV_PRODUCT_14, index);
}

TEST_F(PlayerSettingWindowTest, SavingUntouchedDialogLeavesTheFileAsItWas) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    EXPECT_EQ(readFile(configOf(KV_PRODUCT_14, 0)), kConfig);
    EXPECT_FALSE(win().isOpen());
    EXPECT_EQ(notified, std::vector<std::int32_t>{id14(0)});
    EXPECT_TRUE(autoRuns.empty());
}

// Each gesture, and the keys it must change: every other key, known or not, stays as it was.
TEST_F(PlayerSettingWindowTest, EachControlWritesItsKeyOnly) {
    struct Case {
        const wchar_t* tab;
        std::function<void(PlayerSettingWindowTest&)> act;
        std::function<void(const common::ConfigDocument&)> check;
    };
    const std::vector<Case> cases = {
        {L"gamesettingBtn", [](auto& t) { ASSERT_TRUE(t.host.click(t.win(), L"opt1920x1080")); },
         [](const auto& doc) {
             EXPECT_EQ(doc.getResolution("advancedSettings.resolution", {}), (common::Resolution{1920, 1080}));
             EXPECT_TRUE(doc.has("advancedSettings.resolutionDpi"));
         }},
        {L"gamesettingBtn",
         [](auto& t) {
             ASSERT_TRUE(t.host.click(t.win(), L"definedSolutionOpt"));
             t.leaveEdit(L"resolutionwidth", L"10");
             t.leaveEdit(L"resolutiondpi", L"2000");
         },
         [](const auto& doc) {
             EXPECT_EQ(doc.getResolution("advancedSettings.resolution", {}), (common::Resolution{64, 720}));
             EXPECT_EQ(doc.getInt("advancedSettings.resolutionDpi", 0), 960);
         }},
        {L"basicsettingbtn", [](auto& t) { ASSERT_TRUE(t.host.click(t.win(), L"lockWindowOption")); },
         [](const auto& doc) { EXPECT_TRUE(doc.getBool("basicSettings.lockWindow", false)); }},
        {L"basicsettingbtn", [](auto& t) { ASSERT_TRUE(t.host.click(t.win(), L"mulTabOffOpt")); },
         [](const auto& doc) { EXPECT_FALSE(doc.getBool("basicSettings.mulTab", true)); }}, // line 4: its own file
        {L"advancedsettingbtn", [](auto& t) { t.win().template find<ui::Combo>(L"cpucombo")->selectItem(3); },
         [](const auto& doc) { EXPECT_EQ(doc.getInt("advancedSettings.cpuCount", 0), 6); }},
        {L"propertysettingbtn", [](auto& t) { t.leaveEdit(L"phonenumberedit", L"13800000000"); },
         [](const auto& doc) { EXPECT_EQ(doc.getString("propertySettings.phoneNumber"), L"13800000000"); }},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        writeConfig(KV_PRODUCT_14, 0);
        const common::ConfigDocument before = configDoc(KV_PRODUCT_14, 0);
        open({id14(0)});
        showPage(cases[i].tab);
        cases[i].act(*this);
        ASSERT_TRUE(host.click(win(), L"savebtn"));
        const common::ConfigDocument after = configDoc(KV_PRODUCT_14, 0);
        cases[i].check(after);
        for (const char* kept : {"future.unknownKey", "basicSettings.somethingNew", "propertySettings.phoneIMEI",
                                 "networkSettings.networkAddress", "statusSettings.playerName"})
            EXPECT_EQ(after.get(kept), before.get(kept)) << kept;
        EXPECT_LE(after.memberCount(), before.memberCount() + 2);
    }
}

TEST_F(PlayerSettingWindowTest, OtherLinesKeepTabsAndFrameRateInTheLineSettings) {
    writeConfig(KV_PRODUCT_9, 3);
    open({product::encodeInstanceId(KV_PRODUCT_9, 3)});
    showPage(L"basicsettingbtn");
    ASSERT_TRUE(host.click(win(), L"mulTabOffOpt"));
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    EXPECT_FALSE(configDoc(KV_PRODUCT_9, 3).has("basicSettings.mulTab"));
    common::GlobalSettings line;
    line.load(players.line(KV_PRODUCT_9).baseFolder());
    EXPECT_FALSE(line.get(common::settings::mulTab));
    EXPECT_EQ(notified, std::vector<std::int32_t>{id14(3)}); // always told with the Android 14 code
}

TEST_F(PlayerSettingWindowTest, RejectedAddressRestoresThePreviousOne) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    showPage(L"networksettingbtn");
    leaveEdit(L"networkAddressEdit", L"256.1.1.1");
    EXPECT_EQ(host.text(win(), L"networkAddressEdit"), L"10.0.0.5");
    leaveEdit(L"networkGatewayEdit", L"10.0.0.1");
    EXPECT_EQ(host.text(win(), L"networkGatewayEdit"), L"10.0.0.1");
    ASSERT_TRUE(host.click(win(), L"ipSettingDhcpOpt"));
    EXPECT_EQ(host.text(win(), L"networkAddressEdit"), common::lang::lookUpWithFallback(L"playersetting91_auto_get"));
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, 0);
    EXPECT_EQ(doc.getString("networkSettings.networkAddress"), L"10.0.0.5");
    EXPECT_EQ(doc.getString("networkSettings.networkGateway"), L"10.0.0.1");
    EXPECT_FALSE(doc.getBool("networkSettings.networkStatic", true));
}

TEST_F(PlayerSettingWindowTest, AutoStartChangeWritesTheRunValue) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    showPage(L"basicsettingbtn");
    ASSERT_TRUE(host.click(win(), L"autoRunOnOpt"));
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    const std::wstring console = (players.line(KV_PRODUCT_14).installFolder() / L"kvconsole.exe").wstring();
    EXPECT_EQ(autoRuns, std::vector<std::wstring>{L"\"" + console + L"\" autorun"});
    EXPECT_TRUE(configDoc(KV_PRODUCT_14, 0).getBool("basicSettings.autoRun", false));
}

TEST_F(PlayerSettingWindowTest, BatchWritesOnlyCheckedSettingsIntoEverySelectedInstance) {
    for (int i : {0, 1, 2}) writeConfig(KV_PRODUCT_14, i);
    const std::vector<std::int32_t> ids = {id14(0), id14(1), id14(2)};
    model.setBatchIds(ids);
    open(ids);
    EXPECT_TRUE(dialog->batchMode());
    showPage(L"advancedsettingbtn");
    EXPECT_TRUE(host.shown(win(), L"cpuTitleOption"));
    ASSERT_TRUE(host.click(win(), L"cpuTitleOption"));
    win().find<ui::Combo>(L"cpucombo")->selectItem(4);         // 8 cores, checked
    win().find<ui::Combo>(L"memorycombo")->selectItem(5);      // not checked
    ASSERT_TRUE(host.click(win(), L"StandalonesystemOffOpt")); // not checked
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    for (int i : {0, 1, 2}) {
        const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, i);
        EXPECT_EQ(doc.getInt("advancedSettings.cpuCount", 0), 8) << i;
        EXPECT_FALSE(doc.has("advancedSettings.memorySize")) << i;
        EXPECT_FALSE(doc.has("basicSettings.standaloneSysVmdk")) << i;
        EXPECT_EQ(doc.get("future.unknownKey"), configDoc(KV_PRODUCT_14, 0).get("future.unknownKey"));
    }
}

// The box reaches the host built and modal over the dialog; the option follows the answer, and the second
// question may come while the host still holds the first box.
TEST_F(PlayerSettingWindowTest, ASeparateSystemDiskIsConfirmedInABoxOverTheDialog) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    showPage(L"advancedsettingbtn");
    for (const auto& [button, on] : {std::pair{L"msgbtn0", false}, std::pair{L"msgbtn1", true}}) {
        box = nullptr;
        ASSERT_TRUE(host.click(win(), L"StandalonesystemOffOpt"));
        ASSERT_TRUE(host.click(win(), L"StandalonesystemOnOpt"));
        ASSERT_NE(box, nullptr);
        ASSERT_NE(box->window(), nullptr);
        EXPECT_TRUE(win().inputBlocked());
        box->window()->resize(box->window()->initialSize());
        box->window()->layout();
        ASSERT_TRUE(host.click(*box->window(), button));
        EXPECT_FALSE(win().inputBlocked());
        EXPECT_EQ(win().find<ui::Option>(L"StandalonesystemOnOpt")->selected(), on) << button;
    }
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    EXPECT_TRUE(configDoc(KV_PRODUCT_14, 0).getBool("basicSettings.standaloneSysVmdk", false));
}

// The batch save reads each row's check box from the skin: a row without one could never be applied.
TEST_F(PlayerSettingWindowTest, TheShippedSkinHasEveryApplyCheckBoxAndTheHotKeyEditsShowTheirKeys) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    for (const model::BatchApplyRow& row : model::batchApplyTable())
        EXPECT_TRUE(win().find<ui::Option>(std::wstring(row.checkBox.begin(), row.checkBox.end()))) << row.checkBox;
    for (const auto& [edit, text] : {std::pair{L"installApkKey", L"Ctrl + 3"}, std::pair{L"shareFileKey", L"Ctrl + 5"},
                                     std::pair{L"locationKey", L"Ctrl + 7"}, std::pair{L"syncKey", L"Ctrl + 9"}})
        EXPECT_EQ(host.text(win(), edit), text);
}

// Keys pressed in the edits, one after another, and what each edit then holds and stores.
TEST_F(PlayerSettingWindowTest, PressedKeysClashAndReleaseEachOther) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    showPage(L"hotkeysettingbtn");
    const auto press = [this](const wchar_t* edit, std::uint16_t key, ui::KeyModifiers mods) {
        ASSERT_TRUE(host.click(win(), edit)) << edit;
        EXPECT_TRUE(host.pressVirtualKey(win(), key, mods));
    };
    const std::wstring clash = common::lang::lookUpWithFallback(L"shortcut_clash");
    press(L"homekey", 'K', {.ctrl = true});
    EXPECT_EQ(host.text(win(), L"homekey"), L"Ctrl + K");
    EXPECT_EQ(dialog->values().homeKey, (CombineKey{kModCtrl, 'K'}));
    press(L"backkey", 'K', {.ctrl = true}); // b takes a's keys: both clash, b stores nothing
    EXPECT_EQ(win().findControl(L"backkey")->tooltip(), clash);
    EXPECT_EQ(dialog->values().backKey, CombineKey{});
    press(L"menukey", 'K', {.ctrl = true}); // c as well
    EXPECT_EQ(dialog->values().menuKey, CombineKey{});
    press(L"backkey", 'J', {.ctrl = true, .alt = true}); // b moves on; a and c still clash
    EXPECT_EQ(host.text(win(), L"backkey"), L"Ctrl + Alt + J");
    EXPECT_EQ(dialog->values().backKey, (CombineKey{kModCtrl | kModAlt, 'J'}));
    // a and c still share their keys: one of them holds them, the other stays marked
    EXPECT_EQ(win().findControl(L"homekey")->tooltip().empty() + win().findControl(L"menukey")->tooltip().empty(), 1);
    EXPECT_EQ(dialog->values().homeKey == CombineKey{} ? dialog->values().menuKey : dialog->values().homeKey,
              (CombineKey{kModCtrl, 'K'}));
    press(L"menukey", 8, {}); // c cleared releases a
    EXPECT_EQ(dialog->values().menuKey, CombineKey{});
    EXPECT_TRUE(win().findControl(L"homekey")->tooltip().empty());
    EXPECT_EQ(dialog->values().homeKey, (CombineKey{kModCtrl, 'K'}));
    press(L"bosskey", 113, {}); // the boss key needs a modifier
    EXPECT_EQ(dialog->values().bossKey, CombineKey{});
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, 0);
    EXPECT_EQ(common::keys::readHotkey(doc, "hotkeySettings.backKey"), (CombineKey{kModCtrl | kModAlt, 'J'}));
    EXPECT_EQ(common::keys::readHotkey(doc, "hotkeySettings.homeKey"), (CombineKey{kModCtrl, 'K'}));
    EXPECT_FALSE(doc.has("hotkeySettings.zoomInKey")); // untouched keys are not written
}

TEST_F(PlayerSettingWindowTest, SingleModeHidesTheApplyBoxes) {
    writeConfig(KV_PRODUCT_14, 0);
    open({id14(0)});
    showPage(L"advancedsettingbtn");
    EXPECT_FALSE(host.shown(win(), L"cpuTitleOption"));
    EXPECT_TRUE(host.shown(win(), L"cpucombo"));
}

} // namespace
