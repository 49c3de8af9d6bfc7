#pragma once
// The instance settings dialog: the settings of one instance, or, in batch mode, chosen settings applied to
// several instances at once (every setting then carries its apply check box).
//
// Opening loads the instance's configuration and its line's shared settings into the controls; edits are
// checked as the user leaves them (custom resolution clamped, network addresses that are no dotted quad
// discarded). Save writes only what the user changed, then the auto-start entry when that changed, and tells
// the emulator side; in batch mode it writes the checked settings into every chosen instance through the
// model's batch apply instead. What only a real desktop can do comes through `SettingServices`.
//
// Made once by its owner and opened again for each request. User-interface thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "core/platform/DeviceNames.h"
#include "core/storage/PlayerConfig.h"
#include "core/storage/PlayerSet.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/MessageBox.h"
#include "toolkit/Window.h"
#include "ui/settings/RQFSMoreFrame.h"
#include "ui/settings/SettingValues.h"

namespace common {

struct SettingServices {
    // Shows a built message box modally over the dialog.
    std::function<void(msg::MessageBoxWindow&)> showBox;
    // Shows another built window of the dialog (the shared-folder size question) modally over it.
    std::function<void(ui::Window& window, const wchar_t* className)> showWindow;
    // The text of one of the program's skin files; nothing when it is missing.
    std::function<std::optional<std::string>(std::wstring_view file)> readSkin;
    // Lists the machine's sound devices and network adapters, asked each time the dialog opens. Listing may
    // take long, so it runs off the user-interface thread and hands the lists to `done` on it, posted under
    // `owner`.
    std::function<void(OwnerKey owner, std::function<void(platform::DeviceNames)> done)> listDevices;
    // Writes the auto-start entry with this value (the console starts and reads each instance's flag).
    std::function<void(const std::wstring& value)> setAutoRun;
    // The emulator side hears that the settings of this instance id changed.
    std::function<void(std::int32_t id)> notifySettingsChanged;
};

class PlayerSettingWindow {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_playersetting.xml";
    static constexpr const wchar_t* kClassName = L"KVPlayerSettingFrame";
    // After a save: whether anything was written, and whether the language changed.
    using OnSaved = std::function<void(bool saved, bool languageChanged)>;

    PlayerSettingWindow(KVMultiModel& model, PlayerSet& players, SettingServices services);
    ~PlayerSettingWindow();
    PlayerSettingWindow(const PlayerSettingWindow&) = delete;
    PlayerSettingWindow& operator=(const PlayerSettingWindow&) = delete;
    // False when the skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin);
    ui::Window& window() { return m_window; }

    // Loads the first id's settings; several ids open batch mode. The window is not shown here.
    void open(const std::vector<std::int32_t>& ids, const settingsui::MachineDefaults& defaults, OnSaved onSaved);
    bool batchMode() const { return m_ids.size() > 1; }
    // The disk size the user chose, in gigabytes; 0 when the slider was left at its smallest size.
    int newDiskSize() const { return m_newDiskSize; }
    const settingsui::SettingValues& values() const { return m_values; }

    // The save button: single mode writes the changed keys, batch mode the checked settings.
    void saveSettings();

private:
    void onNotify(const ui::Notify& n);
    void showValues();
    void collectValues();
    void showResolution();
    void customResolutionEdited();
    void networkEdited(ui::Control& edit);
    void showNetwork();
    void showTips();
    void confirmStandaloneDisk();
    void selectOption(std::wstring_view name, bool selected);
    bool optionSelected(std::wstring_view name) const;
    bool captureKey(ui::Control& focus, std::uint16_t virtualKey, ui::KeyModifiers mods);
    void hotkeyChanged(const std::wstring& edit, common::CombineKey combination);
    void hotkeyFocusChanged(const std::wstring& edit, bool focused);
    void showHotkeys();
    void askRestoreHotkeys();
    void restoreHotkeys();
    void saveSingle();
    void saveBatch();
    std::unique_ptr<msg::MessageBoxWindow>& newBox(const wchar_t* textKey);

    // The lists the dialog fills when it opens: devices, languages and the phone list. The device lists
    // offer the stored devices until the machine's lists come, and keep what the user picked meanwhile.
    void fillLists();
    void fillDevices(const platform::DeviceNames& devices);
    void fillDeviceCombo(const wchar_t* combo, const std::vector<std::wstring>& names, bool withDefault,
                         const std::wstring& stored);
    void deviceSelected(const ui::Control& combo);
    void showPhone();
    void phoneMakerSelected(const std::wstring& maker);
    void phoneNameSelected(const std::wstring& name);
    void showPhoneMode(bool fromList);
    void collectPhone();
    void showDisk();
    void askSharedFolderSize();

    KVMultiModel& m_model;
    PlayerSet& m_players;
    SettingServices m_services;
    const OwnerKey m_listsKey = newOwnerKey(); // the device lists posted back to the dialog
    ui::Window m_window;
    std::vector<std::int32_t> m_ids;
    KV_PRODUCT_TYPE m_product = KV_PRODUCT_14;
    int m_index = -1;
    PlayerConfig m_config;
    settingsui::SettingValues m_loaded;
    settingsui::SettingValues m_values;
    OnSaved m_onSaved;
    const ui::ControlFactory* m_factory = nullptr; // the one create had; boxes are built with it
    std::unique_ptr<msg::MessageBoxWindow> m_box;
    std::unique_ptr<msg::MessageBoxWindow> m_retiredBox; // its host may still hold its window
    // The phone chosen from the list: its maker, name and model.
    std::wstring m_phoneMaker;
    std::wstring m_phoneName;
    std::wstring m_phoneModel;
    int m_newDiskSize = 0;
    std::unique_ptr<RQFSMoreFrame> m_fsMore;
    std::unique_ptr<RQFSMoreFrame> m_retiredFsMore; // its host may still hold its window
    // What each hot-key edit shows; a clashing or invalid one is stored (and saved) as empty.
    std::map<std::wstring, common::CombineKey, std::less<>> m_hotkeyEntries;
};

} // namespace common
