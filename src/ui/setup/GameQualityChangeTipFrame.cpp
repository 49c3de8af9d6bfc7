#include "ui/setup/GameQualityChangeTipFrame.h"

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"

namespace view {

std::wstring gameQualityTipBackground(std::wstring_view edition, std::wstring_view language) {
    std::wstring_view image = L"gamequalitytipbg.jpg";
    if (edition == L"rqplayer-en") {
        if (language == L"th_TH") image = L"gamequalitytipbg_th.jpg";
        if (language == L"ru_RU") image = L"gamequalitytipbg_ru.jpg";
        if (language == L"vi_VN") image = L"gamequalitytipbg_vn.jpg";
    }
    return L"multiplayer_all\\" + std::wstring(image);
}

bool GameQualityChangeTipFrame::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"quality tip skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.setTitle(common::lang::lookUpWithFallback(L"multiplay_quality_tip_title"));
    m_window.addNotifier([this](const ui::Notify& n) {
        if (n.sender && n.type == ui::events::kClick &&
            (n.sender->name() == L"closebtn" || n.sender->name() == L"okbtn"))
            m_window.close();
    });
    m_window.close(); // made hidden; show opens it
    return true;
}

void GameQualityChangeTipFrame::show(ui::Window& owner, std::wstring_view edition, std::wstring_view language) {
    if (auto* bg = m_window.findControl(L"bgLayout")) bg->setBkImage(gameQualityTipBackground(edition, language));
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
}

} // namespace view
