#pragma once
// A small window with one text, shown beside a control while the mouse is over it (the add dialog's help
// button). It takes no input; the host shows it without activating it.

#include <string_view>

#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace mainui {

class KVMouseTip {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multimousetip.xml";
    static constexpr const wchar_t* kClassName = L"kvmousetip";

    // False when the skin does not parse (logged).
    bool create(const ui::ControlFactory& factory, std::string_view skin);
    // Shows the text of the language key with its upper-left corner at `at` (owner window pixels).
    void show(std::wstring_view textKey, ui::Point at);
    void hide();
    bool shown() const { return m_shown; }
    ui::Point position() const { return m_at; }
    ui::Window& window() { return m_window; }

private:
    ui::Window m_window;
    ui::Point m_at;
    bool m_shown = false;
};

} // namespace mainui
