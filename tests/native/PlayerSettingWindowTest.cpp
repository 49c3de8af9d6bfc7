// The instance settings dialog over its shipped skin and a real model: what it writes, and what it leaves.

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/dispatch/EventLoop.h"
#include "core/lang/LanguageStrings.h"
#include "core/model/KVMultiModel.h"
#include "core/storage/Identity.h"
#include "core/storage/InstanceKeys.h"
#include "core/storage/KVPhoneConfig.h"
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
    ui::Window* popup = nullptr;          // the last other window shown over the dialog
    std::wstring popupClass;
    platform::DeviceNames devices{{L"Mic A", L"Mic B"}, {L"Speakers"}, {L"Ethernet 1", L"Wi-Fi"}};
    bool devicesLate = false; // the machine's lists come only when the test hands them over
    std::function<void(platform::DeviceNames)> lateDevices;
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
        services.showWindow = [this](ui::Window& shown, const wchar_t* className) {
            popup = &shown;
            popupClass = className;
        };
        services.readSkin = [](std::wstring_view file) -> std::optional<std::string> {
            return testing_support::shippedSkin(std::wstring(file).c_str());
        };
        services.listDevices = [this](common::OwnerKey, std::function<void(platform::DeviceNames)> done) {
            if (devicesLate)
                lateDevices = std::move(done);
            else
                done(devices);
        };
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
    // Answers the box the dialog showed last with its button `name`.
    void answerBox(const wchar_t* name) {
        ASSERT_NE(box, nullptr);
        box->window()->resize(box->window()->initialSize());
        box->window()->layout();
        ASSERT_TRUE(host.click(*box->window(), name));
    }
    ui::Combo& combo(const wchar_t* name) { return *win().find<ui::Combo>(name); }
    std::vector<std::wstring> itemTexts(const wchar_t* name) {
        std::vector<std::wstring> texts;
        for (const ui::ComboItem& item : combo(name).items()) texts.push_back(item.text);
        return texts;
    }
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
    EXPECT_EQ(host.text(win(), L"homekey"), L"<s><c #FFFFFF>Ctrl + K</c></s>") << "selected while focused";
    EXPECT_EQ(dialog->values().homeKey, (CombineKey{kModCtrl, 'K'}));
    press(L"backkey", 'K', {.ctrl = true}); // b takes a's keys: both clash, b stores nothing
    EXPECT_EQ(host.text(win(), L"homekey"), L"Ctrl + K") << "plain once the focus left";
    EXPECT_EQ(win().findControl(L"backkey")->tooltip(), clash);
    EXPECT_EQ(dialog->values().backKey, CombineKey{});
    press(L"menukey", 'K', {.ctrl = true}); // c as well
    EXPECT_EQ(dialog->values().menuKey, CombineKey{});
    press(L"backkey", 'J', {.ctrl = true, .alt = true}); // b moves on; a and c still clash
    EXPECT_EQ(host.text(win(), L"backkey"), L"<s><c #FFFFFF>Ctrl + Alt + J</c></s>");
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

namespace {

// Restoring asks first; only "confirm" gives every hot key its default again, and a key that is its default
// again is not written.
TEST_F(PlayerSettingWindowTest, RestoringDefaultHotKeysAsksAndShowsEveryDefault) {
    for (const auto& [button, restored] : {std::pair{L"msgbtn0", false}, std::pair{L"msgbtn1", true}}) {
        SCOPED_TRACE(button);
        writeConfig(KV_PRODUCT_14, 0);
        open({id14(0)});
        showPage(L"hotkeysettingbtn");
        ASSERT_TRUE(host.click(win(), L"homekey"));
        ASSERT_TRUE(host.pressVirtualKey(win(), 'K', {.ctrl = true}));
        ASSERT_TRUE(host.click(win(), L"bosskey"));
        ASSERT_TRUE(host.pressVirtualKey(win(), 8));
        box = nullptr;
        ASSERT_TRUE(host.click(win(), L"shortcutRestoreBtn"));
        ASSERT_NO_FATAL_FAILURE(answerBox(button));
        EXPECT_EQ(host.text(win(), L"homekey"), restored ? L"F1" : L"Ctrl + K");
        EXPECT_EQ(dialog->values().bossKey, restored ? (CombineKey{kModCtrl, 'Q'}) : CombineKey{});
        ASSERT_TRUE(host.click(win(), L"savebtn"));
        EXPECT_EQ(configDoc(KV_PRODUCT_14, 0).has("hotkeySettings.homeKey"), !restored);
        EXPECT_EQ(configDoc(KV_PRODUCT_14, 0).has("hotkeySettings.bossKey"), !restored);
    }
}

// A phone list of two makers; the configuration's maker and model decide whether the identity is one of them.
class PhonePageTest : public PlayerSettingWindowTest {
public:
    void SetUp() override {
        PlayerSettingWindowTest::SetUp();
        const auto list = program / "phones.data";
        std::ofstream(list, std::ios::binary) << R"({"phones": [
            {"maker": "Maker", "name": "One", "model": "M1"},
            {"maker": "Other", "name": "Alpha", "model": "O-A"},
            {"maker": "Maker", "name": "Two", "model": "M2"},
            {"maker": "Other", "name": "Beta", "model": "O-B"}]})";
        common::KVPhoneConfig::instance().loadConfig(list);
    }
    void TearDown() override {
        common::KVPhoneConfig::instance().loadConfig(program / "none.data");
        PlayerSettingWindowTest::TearDown();
    }
};

TEST_F(PhonePageTest, AListedPhoneIsChosenFromTheListAndANewMakerRefillsTheNames) {
    writeConfig(KV_PRODUCT_14, 0); // Maker, M1
    open({id14(0)});
    showPage(L"propertysettingbtn");
    EXPECT_TRUE(win().find<ui::Option>(L"phoneInfoDefaultOpt")->selected());
    EXPECT_FALSE(host.shown(win(), L"phonebrandedit"));
    EXPECT_EQ(itemTexts(L"phoneMakerCombo"), (std::vector<std::wstring>{L"Maker", L"Other"}));
    EXPECT_EQ(itemTexts(L"phoneNameCombo"), (std::vector<std::wstring>{L"One", L"Two"}));
    EXPECT_EQ(combo(L"phoneNameCombo").selectedText(), L"One");
    EXPECT_EQ(host.text(win(), L"phoneModelDefaultEdit"), L"M1");

    ASSERT_TRUE(combo(L"phoneMakerCombo").chooseItem(1));
    EXPECT_EQ(itemTexts(L"phoneNameCombo"), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
    EXPECT_EQ(combo(L"phoneNameCombo").items().front().look.height, 26);
    EXPECT_EQ(host.text(win(), L"phoneModelDefaultEdit"), L"O-A");
    ASSERT_TRUE(combo(L"phoneNameCombo").chooseItem(1));
    EXPECT_EQ(host.text(win(), L"phoneModelDefaultEdit"), L"O-B");
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, 0);
    EXPECT_EQ(doc.getString("propertySettings.phoneManufacturer"), L"Other");
    EXPECT_EQ(doc.getString("propertySettings.phoneModel"), L"O-B");
}

TEST_F(PhonePageTest, AnUnlistedPhoneIsTypedAndANewImeiPassesTheCheck) {
    writeConfig(KV_PRODUCT_14, 0,
                R"({"propertySettings.phoneModel": "X9", "propertySettings.phoneManufacturer": "Y",)"
                R"( "propertySettings.phoneIMEI": "490154203237518"})");
    open({id14(0)});
    showPage(L"propertysettingbtn");
    EXPECT_TRUE(win().find<ui::Option>(L"phoneInfoDefineOpt")->selected());
    EXPECT_FALSE(host.shown(win(), L"phoneMakerCombo"));
    EXPECT_EQ(host.text(win(), L"phonebrandedit"), L"Y");
    EXPECT_EQ(host.text(win(), L"phonemodeledit"), L"X9");
    leaveEdit(L"phonemodeledit", L"X10");
    ASSERT_TRUE(host.click(win(), L"randomimeibtn"));
    const std::wstring imei = host.text(win(), L"imeicodeedit");
    EXPECT_EQ(imei.size(), 15u);
    EXPECT_TRUE(common::identity::passesLuhn(imei)) << imei;
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, 0);
    EXPECT_EQ(doc.getString("propertySettings.phoneModel"), L"X10");
    EXPECT_EQ(doc.getString("propertySettings.phoneManufacturer"), L"Y");
    EXPECT_EQ(doc.getString("propertySettings.phoneIMEI"), imei);
}

// What each device list offers, what it shows for the file's value, and what picking an item writes.
TEST_F(PlayerSettingWindowTest, DeviceListsOfferTheMachinesDevicesAndKeepAStoredOne) {
    const std::wstring systemDefault = common::lang::lookUpWithFallback(L"setting_device_default");
    struct Case {
        const wchar_t* tab;
        const wchar_t* combo;
        std::vector<std::wstring> items;
        std::wstring shown;
        int pick;
        const char* key;
        std::wstring written;
    };
    const std::vector<Case> cases = {
        {L"audiosettingbtn",
         L"micphoneCombo",
         {systemDefault, L"Mic A", L"Mic B", L"Old mic"},
         L"Old mic",
         2,
         "advancedSettings.micphoneName",
         L"Mic B"},
        {L"audiosettingbtn",
         L"soundCombo",
         {systemDefault, L"Speakers"},
         systemDefault,
         1,
         "advancedSettings.speakerName",
         L"Speakers"},
        {L"networksettingbtn",
         L"networkInterfaceCombo",
         {L"Ethernet 1", L"Wi-Fi"},
         L"",
         1,
         "networkSettings.networkInterface",
         L"Wi-Fi"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        writeConfig(KV_PRODUCT_14, 0, R"({"advancedSettings.micphoneName": "Old mic", "x.unknown": 1})");
        open({id14(0)});
        showPage(c.tab);
        EXPECT_EQ(itemTexts(c.combo), c.items);
        EXPECT_EQ(combo(c.combo).selectedText(), c.shown);
        ASSERT_TRUE(host.click(win(), L"savebtn")); // untouched: nothing of the lists is written
        EXPECT_FALSE(configDoc(KV_PRODUCT_14, 0).has("advancedSettings.speakerName"));
        open({id14(0)});
        showPage(c.tab);
        ASSERT_TRUE(combo(c.combo).chooseItem(c.pick));
        ASSERT_TRUE(host.click(win(), L"savebtn"));
        const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, 0);
        EXPECT_EQ(doc.getString(c.key), c.written);
        EXPECT_EQ(doc.getInt("x.unknown", 0), 1);
    }
}

// The machine's lists come after the dialog opened: a device picked meanwhile stays picked.
TEST_F(PlayerSettingWindowTest, DeviceListsThatComeLateKeepWhatWasPickedMeanwhile) {
    devicesLate = true;
    writeConfig(KV_PRODUCT_14, 0, R"({"advancedSettings.micphoneName": "Old mic"})");
    open({id14(0)});
    showPage(L"audiosettingbtn");
    const std::wstring systemDefault = common::lang::lookUpWithFallback(L"setting_device_default");
    EXPECT_EQ(itemTexts(L"micphoneCombo"), (std::vector<std::wstring>{systemDefault, L"Old mic"}));
    ASSERT_TRUE(combo(L"micphoneCombo").chooseItem(0));
    ASSERT_TRUE(lateDevices);
    lateDevices(devices);
    EXPECT_EQ(itemTexts(L"micphoneCombo"), (std::vector<std::wstring>{systemDefault, L"Mic A", L"Mic B"}));
    EXPECT_EQ(combo(L"micphoneCombo").selectedText(), systemDefault);
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    EXPECT_EQ(configDoc(KV_PRODUCT_14, 0).getString("advancedSettings.micphoneName", L"?"), L"");
}

TEST_F(PlayerSettingWindowTest, APickedLanguageGoesToTheLineSettingsAndIsReported) {
    writeConfig(KV_PRODUCT_14, 0);
    std::vector<bool> languageChanged;
    dialog->open({id14(0)}, {}, [&](bool, bool changed) { languageChanged.push_back(changed); });
    dialog->window().showModal(*owner);
    const auto codes = itemTexts(L"languageCombo");
    const auto zh = std::find(codes.begin(), codes.end(), L"zh_CN");
    ASSERT_NE(zh, codes.end());
    ASSERT_TRUE(combo(L"languageCombo").chooseItem(static_cast<int>(zh - codes.begin())));
    dialog->saveSettings();
    EXPECT_EQ(languageChanged, std::vector<bool>{true});
    common::GlobalSettings line;
    line.load(players.line(KV_PRODUCT_14).baseFolder());
    EXPECT_EQ(line.get(common::settings::languageId), L"zh_CN");
    EXPECT_TRUE(log.contains("common::PlayerSettingWindow::saveSettings", L"language change!!"));
}

TEST(SharedFolderSizeRuleTest, OneToFiveCharactersFromTheStartSizeToTheLargest) {
    for (const auto& [text, ok] : std::vector<std::pair<std::wstring, bool>>{{L"5", true},
                                                                             {L"63", true},
                                                                             {L"4", false},
                                                                             {L"64", false},
                                                                             {L"", false},
                                                                             {L"000010", false},
                                                                             {L"00010", true},
                                                                             {L"1x", false},
                                                                             {L"-5", false}})
        EXPECT_EQ(sharedFolderSizeAccepted(text, 5, 63), ok) << text;
}

// The extra size is asked in its own window over the dialog; its button follows the text.
TEST_F(PlayerSettingWindowTest, TheSharedFolderSizeIsAskedOverTheDialogAndSaved) {
    writeConfig(KV_PRODUCT_14, 0, R"({"basicSettings.mulFsAddSize": 4, "basicSettings.mulFsAutoSize": 1})");
    open({id14(0)});
    showPage(L"distSettingBtn");
    EXPECT_FALSE(win().findControl(L"fsMoreSizeBtn")->enabled()); // automatic size: nothing to choose
    ASSERT_TRUE(host.click(win(), L"manualSizeOption"));
    ASSERT_TRUE(host.click(win(), L"fsMoreSizeBtn"));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popupClass, L"RQFSMoreFrame");
    popup->resize(popup->initialSize());
    popup->layout();
    EXPECT_EQ(host.text(*popup, L"fsSizeEdit"), L"4");
    ui::Control& ok = *popup->findControl(L"moreSizeBtn");
    EXPECT_TRUE(ok.enabled());
    for (const auto& [typed, enabled] :
         {std::pair{L"3", false}, std::pair{L"64", false}, std::pair{L"", false}, std::pair{L"12", true}}) {
        ASSERT_TRUE(host.click(*popup, L"fsSizeEdit"));
        host.press(*popup, ui::Key::End);
        for (int i = 0; i < 6; ++i) host.press(*popup, ui::Key::Back);
        host.type(*popup, typed);
        EXPECT_EQ(ok.enabled(), enabled) << typed;
    }
    ASSERT_TRUE(host.click(*popup, L"moreSizeBtn"));
    EXPECT_FALSE(popup->isOpen());
    EXPECT_TRUE(win().findControl(L"fsDisiableBtn")->enabled());
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    const common::ConfigDocument doc = configDoc(KV_PRODUCT_14, 0);
    EXPECT_EQ(doc.getInt("basicSettings.mulFsAddSize", 0), 12);
    EXPECT_EQ(doc.getInt("basicSettings.mulFsAutoSize", -1), 0);
}

// The main window's row reads the saved resolution, processors and memory again.
TEST_F(PlayerSettingWindowTest, SavingRereadsTheRecordsOfTheSavedInstances) {
    writeConfig(KV_PRODUCT_14, 0);
    players.line(KV_PRODUCT_14).addIndex(0);
    model.reloadPlayerList();
    std::vector<std::int32_t> changed;
    model.events().settingsChanged.subscribe(common::newOwnerKey(), [&](std::int32_t id) { changed.push_back(id); });
    open({id14(0)});
    ASSERT_TRUE(host.click(win(), L"opt1920x1080"));
    showPage(L"advancedsettingbtn");
    combo(L"cpucombo").selectItem(4);
    ASSERT_TRUE(host.click(win(), L"savebtn"));
    EXPECT_EQ(changed, std::vector<std::int32_t>{id14(0)});
    const model::InstanceRecord* record = model.findRecord(id14(0));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->width, 1920);
    EXPECT_EQ(record->cpuCount, 8);
}

} // namespace
