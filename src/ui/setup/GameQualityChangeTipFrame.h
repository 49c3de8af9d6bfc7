#pragma once
// The tip that follows a lower frame rate: the other-settings dialog shows it after a save that made every
// instance run slower than before, so the user knows why games look less smooth and where to undo it. Its
// only logic is its background, which the international edition draws per language.

#include <string>
#include <string_view>

#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace view {

// The edition this program belongs to; the international one is "rqplayer-en".
inline constexpr std::wstring_view kProgramEdition = L"rqplayer";

// The background image of `bgLayout` for an edition and the language id of the settings.
std::wstring gameQualityTipBackground(std::wstring_view edition, std::wstring_view language);

class GameQualityChangeTipFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_gamequalitychangetip.xml";
    static constexpr const wchar_t* kClassName = L"gamequalitychangetipframe";

    bool create(const ui::ControlFactory& factory, std::string_view skin); // false: logged
    void show(ui::Window& owner, std::wstring_view edition, std::wstring_view language);
    ui::Window& window() { return m_window; }

private:
    ui::Window m_window;
};

} // namespace view
