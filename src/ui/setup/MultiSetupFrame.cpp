#include "ui/setup/MultiSetupFrame.h"

#include <cerrno>
#include <climits>
#include <cwchar>

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/Container.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinTexts.h"

namespace setupui {

using common::lang::lookUpWithFallback;

bool MultiSetupFrame::create(const ui::ControlFactory& factory, std::string_view skin) {
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, m_window, error)) {
        KVLOG(L"setup dialog skin not loaded: %s", error);
        return false;
    }
    if (m_window.root()) ui::translateSkinTexts(*m_window.root(), common::lang::lookUp);
    m_window.setKind(ui::WindowKind::Dialog);
    m_window.setTitle(lookUpWithFallback(L"multiplay_setup"));
    m_window.addNotifier([this](const ui::Notify& n) {
        if (!n.sender) return;
        const std::wstring& name = n.sender->name();
        if (n.type == ui::events::kClick) {
            if (name == L"spreadAlignBtn") return showAlignment(false);
            if (name == L"overlayAlignBtn") return showAlignment(true);
            if (name == L"vmdkFastModeBtn") return showDiskMode(true);
            if (name == L"vmdkStableModeBtn") return onStableClicked();
            if (name == L"savebtn") return save();
            if (name == L"cancelbtn") return m_window.close();
        } else if (n.type == ui::events::kSelectChanged && name == L"windowsAutoSizeOpt") {
            onAutoSizeChanged();
        }
    });
    m_window.close(); // made hidden; show opens it
    m_window.setOnClose([this](int) {
        if (m_services.closed) m_services.closed();
    });
    return true;
}

void MultiSetupFrame::show(ui::Window& owner) {
    load();
    m_window.setScale(owner.scale());
    m_window.resize(m_window.scaledInitialSize());
    m_window.showModal(owner);
}

void MultiSetupFrame::load() {
    using namespace common::settings;
    const common::GlobalSettings& s = m_players.own().settings();
    m_opened = {s.get(vmdkFastMode),    s.get(cloneFromSmallDisk),  s.get(windowsAlignType),     s.get(windowsRowCount),
                s.get(windowsAutoSize), s.get(sortwndnotoutscreen), s.get(moreScreenSortInSame), s.get(windowsOrigin),
                s.get(windowsOffset),   s.get(batchStartInterval)};
    showAlignment(m_opened.windowsAlignType == 1);
    setChecked(L"windowsAutoSizeOpt", m_opened.windowsAutoSize);
    setChecked(L"notoutscreenOpt", m_opened.sortwndnotoutscreen);
    onAutoSizeChanged();
    setChecked(L"morescreenOnlyOpt", m_opened.moreScreenSortInSame);
    showDiskMode(m_opened.vmdkFastMode);
    setChecked(L"vmdkSmallModeOpt", m_opened.cloneFromSmallDisk);
    setNumber(L"batchStartIntervalEdit", m_opened.batchStartInterval);
    setNumber(L"windowsRowCountEdit", m_opened.windowsRowCount);
    setNumber(L"windowsOriginXEdit", m_opened.windowsOrigin.x);
    setNumber(L"windowsOriginYEdit", m_opened.windowsOrigin.y);
    setNumber(L"windowsOffsetXEdit", m_opened.windowsOffset.x);
    setNumber(L"windowsOffsetYEdit", m_opened.windowsOffset.y);
}

// The values in the order the settings files are written; each file is reloaded first, so hand edits of
// other keys survive.
void MultiSetupFrame::save() {
    const auto* spread = m_window.findControl(L"spreadAlignBtn");
    const auto* fast = m_window.findControl(L"vmdkFastModeBtn");
    common::SetupDialogValues v{.vmdkFastMode = fast && !fast->enabled(),
                                .cloneFromSmallDisk = checked(L"vmdkSmallModeOpt"),
                                .windowsAlignType = spread && spread->enabled() ? 1 : 0,
                                .windowsRowCount = number(L"windowsRowCountEdit", m_opened.windowsRowCount),
                                .windowsAutoSize = checked(L"windowsAutoSizeOpt"),
                                .sortwndnotoutscreen = checked(L"notoutscreenOpt"),
                                .moreScreenSortInSame = checked(L"morescreenOnlyOpt"),
                                .windowsOrigin = {number(L"windowsOriginXEdit", m_opened.windowsOrigin.x),
                                                  number(L"windowsOriginYEdit", m_opened.windowsOrigin.y)},
                                .windowsOffset = {number(L"windowsOffsetXEdit", m_opened.windowsOffset.x),
                                                  number(L"windowsOffsetYEdit", m_opened.windowsOffset.y)},
                                .batchStartInterval = number(L"batchStartIntervalEdit", m_opened.batchStartInterval)};
    common::saveSetupDialogSettings(m_players, v);
    m_window.close(1);
}

// The current choice of a pair shows disabled (its look says "chosen"), the other one enabled.
void MultiSetupFrame::showAlignment(bool overlay) {
    if (auto* spread = m_window.findControl(L"spreadAlignBtn")) spread->setEnabled(overlay);
    if (auto* cascade = m_window.findControl(L"overlayAlignBtn")) cascade->setEnabled(!overlay);
    if (auto* tab = m_window.find<ui::TabLayout>(L"windowsAlignTab")) tab->selectItem(overlay ? 1 : 0);
}

void MultiSetupFrame::showDiskMode(bool fast) {
    if (auto* b = m_window.findControl(L"vmdkFastModeBtn")) b->setEnabled(!fast);
    if (auto* b = m_window.findControl(L"vmdkStableModeBtn")) b->setEnabled(fast);
    if (auto* tip = m_window.findControl(L"vmdkModeTip"))
        tip->setText(lookUpWithFallback(fast ? L"multiplay_setup_disk_fast_tip" : L"multiplay_setup_disk_stable_tip"));
}

void MultiSetupFrame::onAutoSizeChanged() {
    const bool autoSize = checked(L"windowsAutoSizeOpt");
    if (auto* box = m_window.find<ui::Option>(L"notoutscreenOpt")) {
        box->setEnabled(autoSize);
        if (!autoSize) box->setSelected(false, false);
    }
    if (auto* label = m_window.findControl(L"notoutscreenLabel")) label->setTextColor(autoSize ? kLabelOn : kLabelOff);
}

void MultiSetupFrame::onStableClicked() {
    const std::wstring failing = linesOnSlowDisks(
        m_services.installFolders ? m_services.installFolders() : model::InstallFolders{}, m_services.solidState);
    if (failing.empty() || !m_services.confirm) return showDiskMode(false);
    std::wstring text = lookUpWithFallback(L"multiplay_setup_disk_set_stable_tip");
    if (const auto at = text.find(L"{version}"); at != std::wstring::npos) text.replace(at, 9, failing);
    m_services.confirm(text, [this] { showDiskMode(false); });
}

bool MultiSetupFrame::checked(std::wstring_view name) const {
    const auto* box = m_window.find<ui::Option>(name);
    return box && box->selected();
}

void MultiSetupFrame::setChecked(std::wstring_view name, bool on) {
    if (auto* box = m_window.find<ui::Option>(name)) box->setSelected(on, false);
}

int MultiSetupFrame::number(std::wstring_view name, int opened) const {
    const auto* edit = m_window.findControl(name);
    const std::wstring text = edit ? edit->text() : std::wstring();
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(text.c_str(), &end, 10);
    if (end == text.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX) return opened;
    return static_cast<int>(value);
}

void MultiSetupFrame::setNumber(std::wstring_view name, int value) {
    if (auto* edit = m_window.findControl(name)) edit->setText(std::to_wstring(value));
}

} // namespace setupui
