#include "ui/settings/RQFSMoreFrame.h"

#include <string>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"
#include "ui/settings/SettingRules.h"

namespace common {

bool RQFSMoreFrame::show(ui::Window& owner, const ui::ControlFactory& factory, std::string_view skin, int startSize,
                         std::function<void(int)> onSize) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"shared folder size skin not loaded: %s", error);
        return false;
    }
    m_startSize = startSize;
    m_onSize = std::move(onSize);
    m_window.setKind(ui::WindowKind::Dialog);
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), lang::lookUp);
    m_window.setTitle(lang::lookUpWithFallback(L"fsmore_title"));
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    if (auto* edit = m_window.findControl(L"fsSizeEdit")) edit->setText(std::to_wstring(startSize));
    updateButton();
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
    return true;
}

void RQFSMoreFrame::updateButton() {
    const auto* edit = m_window.findControl(L"fsSizeEdit");
    if (auto* button = m_window.findControl(L"moreSizeBtn"))
        button->setEnabled(edit && settingsui::sharedFolderSizeAccepted(edit->text(), m_startSize, kMaxSize));
}

void RQFSMoreFrame::onNotify(const ui::Notify& n) {
    if (!n.sender) return;
    const std::wstring& name = n.sender->name();
    if (n.type == ui::events::kTextChanged && name == L"fsSizeEdit") return updateButton();
    if (n.type != ui::events::kClick) return;
    if (name == L"moreSizeBtn") {
        const std::wstring text = n.sender->enabled() ? m_window.findControl(L"fsSizeEdit")->text() : L"";
        if (text.empty()) return;
        const auto onSize = m_onSize;
        m_window.close();
        if (onSize) onSize(settingsui::parseNumber(text, m_startSize));
        return;
    }
    if (name == L"cancelbtn" || name == L"closebtn") m_window.close();
}

} // namespace common
