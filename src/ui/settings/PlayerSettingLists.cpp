// The settings dialog's lists and the pages built on them: the sound devices, network adapters and languages
// offered, the phone identity chosen from the phone list or typed, and the disk page with its shared-folder
// size question.
//
// A device or language the file names but the machine no longer offers stays in its list, so that saving
// an untouched dialog keeps it. Lists only ever change a value when the user picks an item.

#include <algorithm>

#include "core/lang/LanguageProfile.h"
#include "core/lang/LanguageStrings.h"
#include "core/storage/Identity.h"
#include "core/storage/KVPhoneConfig.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/Slider.h"
#include "ui/settings/PlayerSettingWindow.h"
#include "ui/settings/SettingRules.h"

namespace common {

namespace {

using lang::lookUpWithFallback;

constexpr std::int64_t kDefaultDevice = -1; // the item that stores the empty name: the system's own choice

struct DeviceCombo {
    const wchar_t* combo;
    std::wstring settingsui::SettingValues::*field;
};
constexpr DeviceCombo kDeviceCombos[] = {
    {L"micphoneCombo", &settingsui::SettingValues::micphoneName},
    {L"soundCombo", &settingsui::SettingValues::speakerName},
    {L"networkInterfaceCombo", &settingsui::SettingValues::networkInterface},
    {L"languageCombo", &settingsui::SettingValues::languageId},
};

void selectText(ui::Combo& combo, const std::wstring& text) {
    const auto& items = combo.items();
    for (int i = 0; i < static_cast<int>(items.size()); ++i)
        if (items[i].tag != kDefaultDevice && items[i].text == text) {
            combo.selectItem(i);
            return;
        }
    combo.selectItem(combo.addItem(text));
}

std::vector<std::wstring> makers(const std::vector<PhoneInfo>& phones) {
    std::vector<std::wstring> result;
    for (const PhoneInfo& p : phones)
        if (std::find(result.begin(), result.end(), p.maker) == result.end()) result.push_back(p.maker);
    return result;
}

} // namespace

void PlayerSettingWindow::fillDevices(const platform::DeviceNames& devices) {
    fillDeviceCombo(L"micphoneCombo", devices.microphones, true, m_values.micphoneName);
    fillDeviceCombo(L"soundCombo", devices.speakers, true, m_values.speakerName);
    fillDeviceCombo(L"networkInterfaceCombo", devices.networkInterfaces, false, m_values.networkInterface);
}

void PlayerSettingWindow::fillLists() {
    fillDevices({});
    if (m_services.listDevices)
        m_services.listDevices(m_listsKey, [this](const platform::DeviceNames& devices) { fillDevices(devices); });
    std::vector<std::wstring> languages;
    for (const lang::LanguageProfile& profile : lang::languageProfiles()) languages.push_back(profile.code);
    // No language chosen yet: the one the program runs in is shown, and saved only when the user picks one.
    const std::wstring shown = m_values.languageId.empty() ? lang::currentLanguageCode() : m_values.languageId;
    fillDeviceCombo(L"languageCombo", languages, false, shown);
    if (auto* combo = m_window.find<ui::Combo>(L"phoneMakerCombo")) {
        combo->removeAll();
        for (const std::wstring& maker : makers(KVPhoneConfig::instance().phones())) combo->addItem(maker);
    }
}

void PlayerSettingWindow::fillDeviceCombo(const wchar_t* name, const std::vector<std::wstring>& names, bool withDefault,
                                          const std::wstring& stored) {
    auto* combo = m_window.find<ui::Combo>(name);
    if (!combo) return;
    combo->removeAll();
    if (withDefault) combo->addItem(lookUpWithFallback(L"setting_device_default"), kDefaultDevice);
    for (const std::wstring& device : names) combo->addItem(device);
    if (stored.empty())
        combo->selectItem(withDefault ? 0 : -1);
    else
        selectText(*combo, stored);
}

void PlayerSettingWindow::deviceSelected(const ui::Control& control) {
    const auto* combo = dynamic_cast<const ui::Combo*>(&control);
    const ui::ComboItem* item = combo ? combo->selectedItem() : nullptr;
    if (!item) return;
    for (const DeviceCombo& d : kDeviceCombos)
        if (control.name() == d.combo) m_values.*d.field = item->tag == kDefaultDevice ? std::wstring() : item->text;
}

// The identity comes from the list when the list has its maker and model, else it was typed.
void PlayerSettingWindow::showPhone() {
    const auto& phones = KVPhoneConfig::instance().phones();
    const auto listed = std::find_if(phones.begin(), phones.end(), [this](const PhoneInfo& p) {
        return p.maker == m_values.phoneManufacturer && p.model == m_values.phoneModel;
    });
    m_phoneMaker.clear();
    const bool fromList = listed != phones.end();
    const std::wstring maker = fromList ? listed->maker : (phones.empty() ? L"" : phones.front().maker);
    if (auto* combo = m_window.find<ui::Combo>(L"phoneMakerCombo"))
        for (int i = 0; i < static_cast<int>(combo->items().size()); ++i)
            if (combo->items()[i].text == maker) combo->selectItem(i);
    phoneMakerSelected(maker);
    if (fromList) {
        if (auto* combo = m_window.find<ui::Combo>(L"phoneNameCombo"))
            for (int i = 0; i < static_cast<int>(combo->items().size()); ++i)
                if (combo->items()[i].text == listed->name) combo->selectItem(i);
        phoneNameSelected(listed->name);
    }
    if (auto* edit = m_window.findControl(L"phonebrandedit")) edit->setText(m_values.phoneManufacturer);
    if (auto* edit = m_window.findControl(L"phonemodeledit")) edit->setText(m_values.phoneModel);
    selectOption(L"phoneInfoDefaultOpt", fromList);
    selectOption(L"phoneInfoDefineOpt", !fromList);
    showPhoneMode(fromList);
}

void PlayerSettingWindow::showPhoneMode(bool fromList) {
    if (auto* layout = m_window.findControl(L"phoneListLayout")) layout->setVisible(fromList);
    if (auto* layout = m_window.findControl(L"phoneDefineLayout")) layout->setVisible(!fromList);
}

// A new maker refills the phone names with its phones, in list order, and picks the first.
void PlayerSettingWindow::phoneMakerSelected(const std::wstring& maker) {
    if (maker == m_phoneMaker) return;
    m_phoneMaker = maker;
    auto* combo = m_window.find<ui::Combo>(L"phoneNameCombo");
    if (!combo) return;
    combo->removeAll();
    for (const PhoneInfo& p : KVPhoneConfig::instance().phones())
        if (p.maker == maker) combo->addItem(p.name, 0, {.height = 26, .textPadding = L"8,2,8,2"});
    if (combo->items().empty()) return;
    combo->selectItem(0);
    phoneNameSelected(combo->items().front().text);
}

void PlayerSettingWindow::phoneNameSelected(const std::wstring& name) {
    const auto& phones = KVPhoneConfig::instance().phones();
    const auto phone = std::find_if(phones.begin(), phones.end(),
                                    [&](const PhoneInfo& p) { return p.maker == m_phoneMaker && p.name == name; });
    if (phone == phones.end()) return;
    m_phoneName = name;
    m_phoneModel = phone->model;
    if (auto* edit = m_window.findControl(L"phoneModelDefaultEdit")) edit->setText(m_phoneModel);
}

void PlayerSettingWindow::collectPhone() {
    if (optionSelected(L"phoneInfoDefaultOpt")) {
        m_values.phoneManufacturer = m_phoneMaker;
        m_values.phoneModel = m_phoneModel;
        return;
    }
    if (const auto* edit = m_window.findControl(L"phonebrandedit")) m_values.phoneManufacturer = edit->text();
    if (const auto* edit = m_window.findControl(L"phonemodeledit")) m_values.phoneModel = edit->text();
}

// The extra shared-folder size is chosen only for a fixed size; "no extra space" takes it back.
void PlayerSettingWindow::showDisk() {
    const bool fixed = m_values.mulFsAutoSize != 1;
    selectOption(L"autoSizeOption", !fixed);
    selectOption(L"manualSizeOption", fixed);
    if (auto* button = m_window.findControl(L"fsMoreSizeBtn")) button->setEnabled(fixed);
    if (auto* button = m_window.findControl(L"fsDisiableBtn")) button->setEnabled(fixed && m_values.mulFsAddSize > 0);
    if (auto* label = m_window.findControl(L"fsAddSizeLabel")) {
        std::wstring text = lookUpWithFallback(L"setting_fs_added");
        if (const auto at = text.find(L"%d"); at != std::wstring::npos)
            text.replace(at, 2, std::to_wstring(m_values.mulFsAddSize));
        label->setText(text);
    }
    if (const auto* slider = m_window.find<ui::Slider>(L"resizeDiskSlider"))
        if (auto* label = m_window.findControl(L"resizeDiskSliderLabel"))
            label->setText(settingsui::diskSizeLabel(slider->value()));
}

void PlayerSettingWindow::askSharedFolderSize() {
    const auto skin = m_services.readSkin ? m_services.readSkin(RQFSMoreFrame::kSkinFile) : std::nullopt;
    if (!skin || !m_factory) return; // logged by the reader
    m_retiredFsMore = std::move(m_fsMore);
    m_fsMore = std::make_unique<RQFSMoreFrame>();
    const bool shown = m_fsMore->show(m_window, *m_factory, *skin, m_values.mulFsAddSize, [this](int size) {
        m_values.mulFsAddSize = size;
        showDisk();
    });
    if (shown && m_services.showWindow) m_services.showWindow(m_fsMore->window(), RQFSMoreFrame::kClassName);
}

} // namespace common
