#include "ui/settings/PlayerSettingWindow.h"

#include <algorithm>
#include <array>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "core/storage/Identity.h"
#include "core/storage/InstanceDefaults.h"
#include "core/storage/InstanceKeys.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/Container.h"
#include "toolkit/Edit.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"
#include "toolkit/Slider.h"
#include "ui/settings/HotkeyText.h"
#include "ui/settings/SettingRules.h"

namespace common {

namespace {

using common::CombineKey;
using lang::lookUpWithFallback;
using settingsui::SettingValues;

// On/off settings: the option that means on, and for a pair of radio options the one that means off.
struct OnOffControl {
    std::wstring_view on;
    bool SettingValues::*field;
    std::wstring_view off;
};
const std::array<OnOffControl, 20> kOnOff = {{
    {L"autoRunOnOpt", &SettingValues::autoRun, L""},
    {L"rootModeOnOpt", &SettingValues::rootMode, L""},
    {L"autoRotateOption", &SettingValues::autoRotate, L""},
    {L"forceLandOption", &SettingValues::isForceLandscape, L""},
    {L"lockWindowOption", &SettingValues::lockWindow, L""},
    {L"mulTabOnOpt", &SettingValues::mulTab, L"mulTabOffOpt"},
    {L"StandalonesystemOnOpt", &SettingValues::standaloneSysVmdk, L"StandalonesystemOffOpt"},
    {L"silenceOption", &SettingValues::reduceAudio, L""},
    {L"minSilenceOption", &SettingValues::minReduceAudio, L""},
    {L"wndPosOption", &SettingValues::windowsRecordPos, L""},
    {L"connectNetworkOpt", &SettingValues::networkEnable, L""},
    {L"networkSwitchingOnOpt", &SettingValues::networkSwitching, L""},
    {L"ipSettingStaticOpt", &SettingValues::networkStatic, L"ipSettingDhcpOpt"},
    {L"displayFpsOption", &SettingValues::displayFps, L""},
    {L"verticalSyncOption", &SettingValues::verticalSync, L""},
    {L"astcOpt", &SettingValues::astc, L""},
    {L"fullscreenEscOption", &SettingValues::exitFullscreenEsc, L""},
    {L"disableMouseFastOnOpt", &SettingValues::disableMouseFastOpt, L""},
    {L"mouseRightOnOpt", &SettingValues::disableMouseRightOpt, L""},
    {L"heighFrameRateOpt", &SettingValues::heightFrameRate, L"normalFrameRateOpt"},
}};

// Integer settings chosen in a combo: the item tags are the stored values.
struct ComboControl {
    std::wstring_view combo;
    int SettingValues::*field;
};
const std::array<ComboControl, 4> kCombos = {{
    {L"quitcombo", &SettingValues::closeOption},
    {L"adbCombo", &SettingValues::adbDebug},
    {L"cpucombo", &SettingValues::cpuCount},
    {L"memorycombo", &SettingValues::memorySize},
}};

struct TextControl {
    std::wstring_view edit;
    std::wstring SettingValues::*field;
};
// The maker and model edits are read with the phone list (PlayerSettingLists.cpp).
const std::array<TextControl, 2> kTexts = {{
    {L"imeicodeedit", &SettingValues::phoneImei},
    {L"phonenumberedit", &SettingValues::phoneNumber},
}};

const std::array<TextControl, 5> kNetworkEdits = {{
    {L"networkAddressEdit", &SettingValues::networkAddress},
    {L"networkGatewayEdit", &SettingValues::networkGateway},
    {L"networkSubnetMaskEdit", &SettingValues::networkSubnetMask},
    {L"networkDNS1Edit", &SettingValues::networkDNS1},
    {L"networkDNS2Edit", &SettingValues::networkDNS2},
}};

struct HotkeyControl {
    std::wstring_view edit;
    CombineKey SettingValues::*field;
    std::string_view key;
};
const std::array<HotkeyControl, 25> kHotkeys = {{
    {L"bosskey", &SettingValues::bossKey, "hotkeySettings.bossKey"},
    {L"fullscreenkey", &SettingValues::fullScreenKey, "hotkeySettings.fullScreenKey"},
    {L"backkey", &SettingValues::backKey, "hotkeySettings.backKey"},
    {L"homekey", &SettingValues::homeKey, "hotkeySettings.homeKey"},
    {L"appswitchkey", &SettingValues::appSwitchKey, "hotkeySettings.appSwitchKey"},
    {L"menukey", &SettingValues::menuKey, "hotkeySettings.menuKey"},
    {L"zoominkey", &SettingValues::zoomInKey, "hotkeySettings.zoomInKey"},
    {L"zoomoutkey", &SettingValues::zoomOutKey, "hotkeySettings.zoomOutKey"},
    {L"shakekey", &SettingValues::shakeKey, "hotkeySettings.shakeKey"},
    {L"operationrecordkey", &SettingValues::operationRecordKey, "hotkeySettings.operationRecordKey"},
    {L"recordPauseBtn", &SettingValues::operationRecordPauseKey, "hotkeySettings.operationRecordPauseKey"},
    {L"recordShowWndBtn", &SettingValues::operationRecordShowFrame, "hotkeySettings.operationRecordShowFrame"},
    {L"showmappingkey", &SettingValues::showMappingKey, "hotkeySettings.showMappingKey"},
    {L"videoRecordKey", &SettingValues::videoRecordKey, "hotkeySettings.videoRecordKey"},
    {L"mappingRecordkey", &SettingValues::mappingRecordKey, "hotkeySettings.mappingRecordKey"},
    {L"keyboardModelKey", &SettingValues::keyboardModelKey, "hotkeySettings.keyboardModelKey"},
    {L"soundAddKey", &SettingValues::soundAddKey, "hotkeySettings.soundAddKey"},
    {L"soundSubKey", &SettingValues::soundSubKey, "hotkeySettings.soundSubKey"},
    {L"screenCutKey", &SettingValues::screenCutKey, "hotkeySettings.screenCutKey"},
    {L"miniKey", &SettingValues::miniKey, "hotkeySettings.miniKey"},
    {L"multiKey", &SettingValues::multiKey, "hotkeySettings.multiKey"},
    {L"installApkKey", &SettingValues::installApkKey, "hotkeySettings.installApkKey"},
    {L"shareFileKey", &SettingValues::shareFileKey, "hotkeySettings.shareFileKey"},
    {L"locationKey", &SettingValues::locationKey, "hotkeySettings.locationKey"},
    {L"syncKey", &SettingValues::syncKey, "hotkeySettings.syncKey"},
}};

constexpr std::wstring_view kEditNormal = L"file='common9\\edit_bg_normal.png' corner='20,10,20,10'";
constexpr std::wstring_view kEditHot = L"file='common9\\edit_bg_hot.png' corner='20,10,20,10'";
constexpr std::wstring_view kEditPushed = L"file='common9\\edit_bg_push.png' corner='20,10,20,10'";
constexpr std::wstring_view kKeyClash = L"file='mainbar5\\key_clash.png' corner='4,4,4,4'";

constexpr std::array<std::wstring_view, 9> kTabButtons = {
    L"gamesettingBtn",    L"advancedsettingbtn", L"propertysettingbtn", L"distSettingBtn", L"audiosettingbtn",
    L"networksettingbtn", L"hotkeysettingbtn",   L"resurfacingBtn",     L"basicsettingbtn"};

constexpr std::array<Resolution, 12> kPresets = {{{3840, 2160},
                                                  {2560, 1440},
                                                  {1920, 1080},
                                                  {1600, 900},
                                                  {1280, 720},
                                                  {960, 540},
                                                  {2160, 3840},
                                                  {1440, 2560},
                                                  {1080, 1920},
                                                  {900, 1600},
                                                  {720, 1280},
                                                  {540, 960}}};

std::wstring presetName(Resolution r) {
    return L"opt" + std::to_wstring(r.width) + L"x" + std::to_wstring(r.height);
}

// "%d" of a language text replaced by the number.
std::wstring withNumber(std::wstring text, int number) {
    if (const auto at = text.find(L"%d"); at != std::wstring::npos) text.replace(at, 2, std::to_wstring(number));
    return text;
}

// A combo's item whose tag is `value`, added (after the list) when the list does not offer it.
void selectTag(ui::Combo& combo, int value) {
    const auto& items = combo.items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (items[i].tag == value) {
            combo.selectItem(i);
            return;
        }
    combo.selectItem(combo.addItem(std::to_wstring(value), value));
}

} // namespace

PlayerSettingWindow::PlayerSettingWindow(KVMultiModel& model, PlayerSet& players, SettingServices services)
    : m_model(model), m_players(players), m_services(std::move(services)) {}

PlayerSettingWindow::~PlayerSettingWindow() {
    dispatch::retire(m_listsKey); // a listing still running finds no dialog
}

bool PlayerSettingWindow::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"settings skin not loaded: %s", error);
        return false;
    }
    m_factory = &factory;
    m_window.setKind(ui::WindowKind::Dialog);
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), lang::lookUp);
    m_window.setTitle(lookUpWithFallback(L"playersetting_title"));
    if (auto* combo = m_window.find<ui::Combo>(L"quitcombo"))
        for (int i = 0; const wchar_t* key : {L"quit_show_warning", L"quit_derectly", L"quit_minimize_to_tray"})
            combo->addItem(lookUpWithFallback(key), i++);
    if (auto* combo = m_window.find<ui::Combo>(L"adbCombo")) {
        combo->addItem(lookUpWithFallback(L"open_link"), 1);
        combo->addItem(lookUpWithFallback(L"close_link"), 0);
        combo->addItem(lookUpWithFallback(L"remote_network"), 2);
    }
    if (auto* combo = m_window.find<ui::Combo>(L"cpucombo"))
        for (int count : model::kCpuCounts)
            combo->addItem(withNumber(lookUpWithFallback(L"cpu_core_count_text"), count), count);
    if (auto* combo = m_window.find<ui::Combo>(L"memorycombo"))
        for (int mb : model::kMemorySizes) combo->addItem(std::to_wstring(mb) + L"M", mb);
    // The hot key edits show their text with the selected look while they have the focus.
    for (const HotkeyControl& h : kHotkeys)
        if (auto* edit = m_window.find<ui::Edit>(h.edit)) edit->setAttribute(L"showhtml", L"true");
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    m_window.setKeyCapture(
        [this](ui::Control& focus, std::uint16_t key, ui::KeyModifiers mods) { return captureKey(focus, key, mods); });
    m_window.close(); // made hidden; the owner shows it
    return true;
}

void PlayerSettingWindow::open(const std::vector<std::int32_t>& ids, const settingsui::MachineDefaults& defaults,
                               OnSaved onSaved) {
    m_ids = ids;
    m_onSaved = std::move(onSaved);
    if (ids.empty()) return;
    m_product = product::productOfId(ids.front());
    m_index = product::indexOfId(ids.front());
    Players& line = m_players.line(m_product);
    m_config = PlayerConfig();
    m_config.load(line.baseFolder(), m_index);
    if (!line.settings().loaded()) line.settings().load(line.baseFolder());
    m_loaded = settingsui::loadSettingValues(m_config.document(), line.settings(), m_product, defaults);
    m_values = m_loaded;
    fillLists();
    if (auto* slider = m_window.find<ui::Slider>(L"resizeDiskSlider")) slider->setValue(slider->minValue());
    m_newDiskSize = 0;
    for (const model::BatchApplyRow& row : model::batchApplyTable())
        if (auto* box = m_window.find<ui::Option>(std::wstring(row.checkBox.begin(), row.checkBox.end()))) {
            box->setSelected(false, false);
            box->setVisible(batchMode());
        }
    if (auto* tabs = m_window.find<ui::TabLayout>(L"maintab")) tabs->selectItem(0);
    selectOption(kTabButtons[0], true);
    showValues();
    // Showing the hot keys stores a clashing or invalid one as empty; only a change by the user is written.
    for (const HotkeyControl& h : kHotkeys) m_loaded.*h.field = m_values.*h.field;
}

void PlayerSettingWindow::selectOption(std::wstring_view name, bool selected) {
    if (auto* option = m_window.find<ui::Option>(name)) option->setSelected(selected, false);
}

bool PlayerSettingWindow::optionSelected(std::wstring_view name) const {
    const auto* option = m_window.find<ui::Option>(name);
    return option && option->selected();
}

void PlayerSettingWindow::showValues() {
    for (const OnOffControl& c : kOnOff) {
        selectOption(c.on, m_values.*c.field);
        if (!c.off.empty()) selectOption(c.off, !(m_values.*c.field));
    }
    for (const ComboControl& c : kCombos)
        if (auto* combo = m_window.find<ui::Combo>(c.combo)) selectTag(*combo, m_values.*c.field);
    for (const TextControl& t : kTexts)
        if (auto* edit = m_window.findControl(t.edit)) edit->setText(m_values.*t.field);
    showHotkeys();
    if (auto* slider = m_window.find<ui::Slider>(L"fpsSlider")) slider->setValue(m_values.fps);
    selectOption(L"vMemUsageDefaultOption", m_values.vMemUsage != 1 && m_values.vMemUsage != 2);
    selectOption(L"vMemUsageDisplayOption", m_values.vMemUsage == 1);
    selectOption(L"vMemUsageUsedOption", m_values.vMemUsage == 2);
    showResolution();
    showNetwork();
    showTips();
    showPhone();
    showDisk();
}

void PlayerSettingWindow::showHotkeys() {
    m_hotkeyEntries.clear();
    for (const HotkeyControl& h : kHotkeys) hotkeyChanged(std::wstring(h.edit), m_values.*h.field);
}

// A key pressed in a hot-key edit becomes its combination; other edits keep their keys.
bool PlayerSettingWindow::captureKey(ui::Control& focus, std::uint16_t virtualKey, ui::KeyModifiers mods) {
    const auto hotkey =
        std::find_if(kHotkeys.begin(), kHotkeys.end(), [&](const HotkeyControl& h) { return h.edit == focus.name(); });
    if (hotkey == kHotkeys.end()) return false;
    const int modifiers = (mods.alt ? settingsui::kModAlt : 0) | (mods.ctrl ? settingsui::kModCtrl : 0) |
                          (mods.shift ? settingsui::kModShift : 0);
    const auto combination = settingsui::captureHotkey(virtualKey, modifiers);
    if (!combination) return !(modifiers == 0 && virtualKey == 9); // Tab alone moves on; a lone modifier waits
    hotkeyChanged(focus.name(), *combination);
    return true;
}

// Two edits clash when they show the same combination: both are marked and neither is stored, until one of
// them changes and releases the other.
void PlayerSettingWindow::hotkeyChanged(const std::wstring& name, common::CombineKey combination) {
    const auto field =
        std::find_if(kHotkeys.begin(), kHotkeys.end(), [&](const HotkeyControl& h) { return h.edit == name; });
    auto* edit = m_window.find<ui::Edit>(name);
    if (field == kHotkeys.end()) return;
    const auto heldBy = [this, &name](common::CombineKey c) -> const std::wstring* {
        if (c == common::CombineKey{}) return nullptr;
        for (const auto& [other, entry] : m_hotkeyEntries)
            if (other != name && entry == c) return &other;
        return nullptr;
    };
    if (const auto before = m_hotkeyEntries.find(name); before != m_hotkeyEntries.end())
        if (const std::wstring* other = heldBy(before->second)) {
            const std::wstring released = *other;
            before->second = {};
            hotkeyChanged(released, m_hotkeyEntries[released]);
        }
    CombineKey& stored = m_values.*field->field;
    const bool focused = edit && m_window.focus() == edit;
    if (combination == common::CombineKey{}) {
        m_hotkeyEntries[name] = {};
        stored = {};
        if (!edit) return;
        edit->setText(lookUpWithFallback(focused ? L"shortcur_clickforcrate_s" : L"shortcut_clickforsetup"));
        edit->setTextColor(0xff888a8d);
        edit->setTooltip(lookUpWithFallback(L"shortcut_clickforsetup"));
        edit->setStateImages(kEditNormal, kEditHot, kEditPushed);
        return;
    }
    bool marked = false;
    std::wstring tooltip;
    m_hotkeyEntries[name] = combination;
    if (heldBy(combination)) {
        stored = {};
        tooltip = lookUpWithFallback(L"shortcut_clash");
        marked = true;
    } else if (settingsui::hotkeyValid(name, combination)) {
        stored = combination;
    } else {
        stored = {};
        marked = true;
    }
    if (!edit) return;
    edit->setTextColor(0xffffffff);
    edit->setTooltip(tooltip);
    if (marked)
        edit->setStateImages(kKeyClash, kKeyClash, kKeyClash);
    else
        edit->setStateImages(kEditNormal, kEditHot, kEditPushed);
    const std::wstring text = settingsui::hotkeyDisplayText(name, combination);
    edit->setText(focused ? L"<s><c #FFFFFF>" + text + L"</c></s>" : text);
}

// Only the text follows the focus; the entry, the marks and the tool tip stay as the last change left them.
void PlayerSettingWindow::hotkeyFocusChanged(const std::wstring& name, bool focused) {
    auto* edit = m_window.find<ui::Edit>(name);
    const auto entry = m_hotkeyEntries.find(name);
    if (!edit || entry == m_hotkeyEntries.end()) return;
    if (entry->second == common::CombineKey{}) {
        edit->setText(lookUpWithFallback(focused ? L"shortcur_clickforcrate_s" : L"shortcut_clickforsetup"));
        return;
    }
    const std::wstring text = settingsui::hotkeyDisplayText(name, entry->second);
    edit->setText(focused ? L"<s>" + text + L"</s>" : text);
}

void PlayerSettingWindow::showResolution() {
    const Resolution r = m_values.resolution;
    const bool preset = std::find(kPresets.begin(), kPresets.end(), r) != kPresets.end();
    for (const Resolution& p : kPresets) selectOption(presetName(p), p == r);
    selectOption(L"definedSolutionOpt", !preset);
    for (const auto& [name, value] : {std::pair{L"resolutionwidth", r.width}, std::pair{L"resolutionheight", r.height},
                                      std::pair{L"resolutiondpi", m_values.resolutionDpi}})
        if (auto* edit = m_window.findControl(name)) {
            edit->setText(std::to_wstring(value));
            edit->setEnabled(!preset);
        }
}

// The custom resolution as typed, each side and the DPI clamped into their ranges and shown again.
void PlayerSettingWindow::customResolutionEdited() {
    auto number = [this](const wchar_t* name, int fallback) {
        const auto* edit = m_window.findControl(name);
        return edit ? settingsui::parseNumber(edit->text(), fallback) : fallback;
    };
    m_values.resolution.width = settingsui::clampResolutionSide(number(L"resolutionwidth", m_values.resolution.width));
    m_values.resolution.height =
        settingsui::clampResolutionSide(number(L"resolutionheight", m_values.resolution.height));
    m_values.resolutionDpi = settingsui::clampDpi(number(L"resolutiondpi", m_values.resolutionDpi));
    showResolution();
}

void PlayerSettingWindow::networkEdited(ui::Control& edit) {
    for (const TextControl& t : kNetworkEdits)
        if (edit.name() == t.edit && settingsui::isDottedQuad(edit.text())) m_values.*t.field = edit.text();
    showNetwork();
}

void PlayerSettingWindow::showNetwork() {
    for (const TextControl& t : kNetworkEdits)
        if (auto* edit = m_window.findControl(t.edit)) {
            const std::wstring& stored = m_values.*t.field;
            if (!m_values.networkStatic)
                edit->setText(lookUpWithFallback(L"playersetting91_auto_get"));
            else
                edit->setText(stored.empty() ? lookUpWithFallback(L"invalid_postfix") : stored);
            edit->setEnabled(m_values.networkStatic);
        }
    if (auto* layout = m_window.findControl(L"networkSettings")) layout->setEnabled(m_values.networkEnable);
}

void PlayerSettingWindow::showTips() {
    if (auto* tip = m_window.findControl(L"fpsTip"))
        tip->setText(lookUpWithFallback(settingsui::fpsTipKey(m_values.fps)));
    if (auto* tip = m_window.findControl(L"uMemUsageTip"))
        tip->setText(lookUpWithFallback(settingsui::memUsageTipKey(m_values.vMemUsage)));
}

// A question with "cancel" and "confirm"; the box before it may still be held by its host.
std::unique_ptr<msg::MessageBoxWindow>& PlayerSettingWindow::newBox(const wchar_t* textKey) {
    m_retiredBox = std::move(m_box);
    m_box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"), lookUpWithFallback(textKey));
    m_box->addButton(lookUpWithFallback(L"cancel"), [] {});
    return m_box;
}

// A separate system disk costs disk space: the user confirms it, else the option goes back off.
void PlayerSettingWindow::confirmStandaloneDisk() {
    if (!m_services.showBox || !m_factory) return;
    newBox(L"setting_disk_shared_tip");
    // The box closes before a button's action runs: closing puts the option back off, the confirmation on again.
    const auto showChoice = [this](bool on) {
        m_values.standaloneSysVmdk = on;
        selectOption(L"StandalonesystemOnOpt", on);
        selectOption(L"StandalonesystemOffOpt", !on);
    };
    m_box->addButton(lookUpWithFallback(L"confirm"), [showChoice] { showChoice(true); });
    m_values.standaloneSysVmdk = false;
    m_box->setOnClose([showChoice] { showChoice(false); });
    if (!m_box->show(m_window, *m_factory)) return showChoice(false); // logged
    m_services.showBox(*m_box);
}

void PlayerSettingWindow::askRestoreHotkeys() {
    if (!m_services.showBox || !m_factory) return;
    newBox(L"playersetting91_shortcut_restore_tip")->addButton(lookUpWithFallback(L"confirm"), [this] {
        restoreHotkeys();
    });
    if (m_box->show(m_window, *m_factory)) m_services.showBox(*m_box);
}

void PlayerSettingWindow::restoreHotkeys() {
    for (const HotkeyControl& h : kHotkeys) m_values.*h.field = keys::hotkeyDefault(h.key).value_or(CombineKey{});
    showHotkeys();
}

void PlayerSettingWindow::onNotify(const ui::Notify& n) {
    if (!n.sender) return;
    const std::wstring& name = n.sender->name();
    if (n.type == ui::events::kSelectChanged) {
        for (std::size_t i = 0; i < kTabButtons.size(); ++i)
            if (name == kTabButtons[i])
                if (auto* tabs = m_window.find<ui::TabLayout>(L"maintab")) tabs->selectItem(static_cast<int>(i));
        if (name == L"StandalonesystemOnOpt" && optionSelected(name) && !m_loaded.standaloneSysVmdk)
            return confirmStandaloneDisk();
        if (name == L"phoneInfoDefaultOpt" || name == L"phoneInfoDefineOpt")
            return showPhoneMode(optionSelected(L"phoneInfoDefaultOpt"));
        if (name == L"ipSettingStaticOpt" || name == L"ipSettingDhcpOpt" || name == L"connectNetworkOpt") {
            m_values.networkStatic = optionSelected(L"ipSettingStaticOpt");
            m_values.networkEnable = optionSelected(L"connectNetworkOpt");
            return showNetwork();
        }
        for (const Resolution& p : kPresets)
            if (name == presetName(p) && optionSelected(name)) {
                m_values.resolution = p;
                m_values.resolutionDpi = defaults::dpiFor(p.width, p.height);
                return showResolution();
            }
        if (name == L"definedSolutionOpt" && optionSelected(name))
            for (const wchar_t* edit : {L"resolutionwidth", L"resolutionheight", L"resolutiondpi"})
                if (auto* c = m_window.findControl(edit)) c->setEnabled(true);
        for (const auto& [option, mode] :
             {std::pair{L"vMemUsageDefaultOption", 0}, std::pair{L"vMemUsageDisplayOption", 1},
              std::pair{L"vMemUsageUsedOption", 2}})
            if (name == option && optionSelected(name)) {
                m_values.vMemUsage = mode;
                showTips();
            }
        return;
    }
    if (n.type == ui::events::kValueChanged && name == L"fpsSlider") {
        m_values.fps = static_cast<int>(n.wParam);
        return showTips();
    }
    if (n.type == ui::events::kValueChanged && name == L"resizeDiskSlider") return showDisk();
    if (n.type == ui::events::kItemSelect) {
        if (name == L"phoneMakerCombo" || name == L"phoneNameCombo") {
            const auto* combo = dynamic_cast<const ui::Combo*>(n.sender);
            const std::wstring text = combo ? combo->selectedText() : L"";
            return name == L"phoneMakerCombo" ? phoneMakerSelected(text) : phoneNameSelected(text);
        }
        return deviceSelected(*n.sender);
    }
    if (n.type == ui::events::kKillFocus || n.type == ui::events::kSetFocus)
        if (m_hotkeyEntries.count(name)) return hotkeyFocusChanged(name, n.type == ui::events::kSetFocus);
    if (n.type == ui::events::kKillFocus) {
        if (name == L"resolutionwidth" || name == L"resolutionheight" || name == L"resolutiondpi")
            return customResolutionEdited();
        for (const TextControl& t : kNetworkEdits)
            if (name == t.edit) return networkEdited(*n.sender);
        return;
    }
    if (n.type == ui::events::kSetFocus) {
        for (const TextControl& t : kNetworkEdits)
            if (name == t.edit && m_values.networkStatic) n.sender->setText(m_values.*t.field);
        return;
    }
    if (n.type != ui::events::kClick) return;
    if (name == L"savebtn") return saveSettings();
    if (name == L"shortcutRestoreBtn") return askRestoreHotkeys();
    if (name == L"randomimeibtn") {
        if (auto* edit = m_window.findControl(L"imeicodeedit")) edit->setText(identity::imei());
        return;
    }
    if (name == L"autoSizeOption" || name == L"manualSizeOption") {
        m_values.mulFsAutoSize = name == L"autoSizeOption" ? 1 : 0;
        return showDisk();
    }
    if (name == L"fsMoreSizeBtn") return askSharedFolderSize();
    if (name == L"fsDisiableBtn") {
        m_values.mulFsAddSize = 0;
        return showDisk();
    }
    if (name == L"cancelbtn" || name == L"closebtn") m_window.close();
}

// Options and combos are read as they stand; edits were taken in as the user left them, the frame rate as the
// slider moved (a stored 0, "the emulator's choice", is below the slider's range and must stay 0 unless moved).
void PlayerSettingWindow::collectValues() {
    for (const OnOffControl& c : kOnOff)
        if (m_window.findControl(c.on)) m_values.*c.field = optionSelected(c.on);
    for (const ComboControl& c : kCombos)
        if (const auto* combo = m_window.find<ui::Combo>(c.combo); combo && combo->selectedItem())
            m_values.*c.field = static_cast<int>(combo->selectedItem()->tag);
    for (const TextControl& t : kTexts)
        if (const auto* edit = m_window.findControl(t.edit)) m_values.*t.field = edit->text();
    collectPhone();
}

void PlayerSettingWindow::saveSettings() {
    collectValues();
    if (const auto* slider = m_window.find<ui::Slider>(L"resizeDiskSlider");
        slider && slider->enabled() && slider->value() > slider->minValue())
        m_newDiskSize = slider->value();
    if (batchMode())
        saveBatch();
    else
        saveSingle();
    m_window.close();
}

void PlayerSettingWindow::saveSingle() {
    Players& line = m_players.line(m_product);
    ConfigDocument& config = m_config.document();
    const bool languageChanged = settingsui::writeChangedValues(m_loaded, m_values, config, line.settings(), m_product);
    if (languageChanged) KVLOG_AS("common::PlayerSettingWindow::saveSettings", L"language change!!");
    const bool savedConfig = config.save();
    const bool savedLine = line.settings().save();
    if (m_loaded.autoRun != m_values.autoRun && m_services.setAutoRun) {
        const std::wstring console = (line.installFolder() / L"kvconsole.exe").wstring();
        m_services.setAutoRun(L"\"" + console + L"\" autorun");
    }
    if (m_services.notifySettingsChanged)
        m_services.notifySettingsChanged(product::encodeInstanceId(KV_PRODUCT_14, m_index));
    m_loaded = m_values;
    m_model.reloadSettings(m_ids);
    if (m_onSaved) m_onSaved(savedConfig || savedLine, languageChanged);
}

void PlayerSettingWindow::saveBatch() {
    m_model.startSaveSettingMul();
    m_model.applySettingMul(
        [this](std::string_view box) { return optionSelected(std::wstring(box.begin(), box.end())); }, m_values);
    m_model.endSaveSettingMul();
    m_model.reloadSettings(m_ids);
    if (m_onSaved) m_onSaved(true, false);
}

} // namespace common
