#include "ui/setup/MultiBackupRestoreWindow.h"

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"

namespace setupui {

namespace {

constexpr ui::Argb kCardText = 0xFFBFBFC3;
constexpr ui::Argb kCardTextHot = 0xFFFFFFFF;

} // namespace

bool MultiBackupRestoreWindow::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"backup window skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.setTitle(common::lang::lookUpWithFallback(L"multiplay_backup_and_restore"));
    m_window.addNotifier([this](const ui::Notify& n) { onNotify(n); });
    m_window.close(); // made hidden; show opens it
    m_window.setOnClose([this](int) {
        if (m_callbacks.closed) m_callbacks.closed();
    });
    return true;
}

void MultiBackupRestoreWindow::show(ui::Window& owner, bool compress) {
    if (auto* box = m_window.find<ui::Option>(L"useCompressOpt")) box->setSelected(compress, false);
    hover(L"backup", false);
    hover(L"restore", false);
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
}

bool MultiBackupRestoreWindow::compress() const {
    const auto* box = m_window.find<ui::Option>(L"useCompressOpt");
    return box && box->selected();
}

void MultiBackupRestoreWindow::onNotify(const ui::Notify& n) {
    if (!n.sender) return;
    const std::wstring& name = n.sender->name();
    if (n.type == ui::events::kClick) {
        if (name == L"backupBtn" && m_callbacks.backup) return m_callbacks.backup(compress());
        if (name == L"restoreBtn" && m_callbacks.restore) return m_callbacks.restore();
        if (name == L"closebtn") return m_window.close();
    } else if (n.type == ui::events::kSelectChanged && name == L"useCompressOpt") {
        if (m_callbacks.compressionChanged) m_callbacks.compressionChanged(compress());
    } else if (n.type == ui::events::kMouseEnter || n.type == ui::events::kMouseLeave) {
        const bool on = n.type == ui::events::kMouseEnter;
        if (name == L"backupBg") hover(L"backup", on);
        if (name == L"restoreBg") hover(L"restore", on);
    }
}

// The card under the mouse lights its title; its background button draws its own hot image.
void MultiBackupRestoreWindow::hover(std::wstring_view card, bool on) {
    if (auto* title = m_window.findControl(std::wstring(card) + L"Title"))
        title->setTextColor(on ? kCardTextHot : kCardText);
}

} // namespace setupui
