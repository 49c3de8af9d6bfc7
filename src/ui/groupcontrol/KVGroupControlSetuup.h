#pragma once
// The settings of the group control frames, opened from a frame's more button: hiding stopped instances,
// keeping each frame's rectangle, closing without asking, and automatic or fixed column counts. Opening
// shows the settings file as it is now; saving writes what the boxes say (a column count only when the edit
// holds decimal digits) and then lets every open frame lay itself out again through the completion callback.
//
// Made once and shown again. User-interface thread only.

#include <functional>
#include <string_view>

#include "core/storage/GlobalSettings.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace groupcontrol {

class KVGroupControlSetuup {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_groupcontrol_setup.xml";
    static constexpr const wchar_t* kClassName = L"KVGroupControlSetuup";

    KVGroupControlSetuup(common::GlobalSettings& settings, std::function<void()> onSaved);
    // False when the skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin);
    ui::Window& window() { return m_window; }

    // Reads the settings file again and shows it in the controls.
    void open();
    // "saveBtn": writes the controls into the settings, then the completion callback; the dialog closes.
    void save();

private:
    void onNotify(const ui::Notify& n);
    void enableNumber();
    bool checked(std::wstring_view name) const;
    void check(std::wstring_view name, bool on);

    common::GlobalSettings& m_settings;
    std::function<void()> m_onSaved;
    ui::Window m_window;
};

} // namespace groupcontrol
