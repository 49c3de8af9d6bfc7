#include "ui/main/KVMouseTip.h"

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/SkinParser.h"

namespace mainui {

bool KVMouseTip::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"mouse tip skin not loaded: %s", error);
        return false;
    }
    m_window.setKind(ui::WindowKind::Plain);
    m_window.close();
    return true;
}

void KVMouseTip::show(std::wstring_view textKey, ui::Point at) {
    if (auto* label = m_window.findControl(L"contentlabel")) label->setText(common::lang::lookUpWithFallback(textKey));
    m_at = at;
    m_shown = true;
    m_window.resize(m_window.scaledInitialSize());
}

void KVMouseTip::hide() {
    m_shown = false;
}

} // namespace mainui
