// The tool bar's list tools: the sort menu, the search box, the selection boxes and the batch bar that
// replaces the tool bar while anything is selected.

#include "core/lang/LanguageStrings.h"
#include "toolkit/Button.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/ListOrder.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

// Only these lines have the other-settings dialog.
bool hasOtherSettings(KV_PRODUCT_TYPE product) {
    return product == KV_PRODUCT_71_32 || product == KV_PRODUCT_71_64 || product == KV_PRODUCT_9;
}

} // namespace

void KVMultiMainFrame::openSortMenu(const ui::Control& sortBtn) {
    ui::RQMenuWnd& menu = newMenu();
    const SortMode current = currentSortMode(m_settings);
    for (SortMode mode = 0; mode < kSortModeCount; ++mode) {
        const SortModeItem& item = sortModeItem(mode);
        menu.addItem(lookUpWithFallback(item.textKey), std::wstring(item.command), true, mode == current);
    }
    popupMenuBelow(sortBtn, 0, 4, [this](const std::wstring& command) {
        const SortMode mode = sortModeOfCommand(command);
        if (mode >= kSortModeCount) return;
        m_settings.set(common::settings::multiPlayerSortV2, static_cast<int>(mode));
        (void)m_settings.save(); // logged; the list still follows the choice
        if (auto* sort = m_window.find<ui::Button>(L"sortBtn"))
            sort->setAttribute(L"normalimage", sortModeItem(mode).image);
        refreshList({.keepSearch = true});
    });
}

// ---- search ----

bool KVMultiMainFrame::searchMode() const {
    const auto* layout = m_window.findControl(L"searchLayout");
    return layout && layout->visible();
}

void KVMultiMainFrame::enterSearch() {
    for (const wchar_t* name : {L"otherSetupBtn", L"searchBtn", L"addGroupBtn", L"sortBtn"}) setShown(name, false);
    setShown(L"searchLayout", true);
    m_window.setFocus(m_window.findControl(L"searchEdit"));
}

void KVMultiMainFrame::leaveSearch() {
    setShown(L"searchLayout", false);
    updateOtherSetupButton();
    setShown(L"searchBtn", true);
    setShown(L"addGroupBtn", !m_batchBar);
    setShown(L"sortBtn", !m_batchBar);
    if (auto* edit = m_window.findControl(L"searchEdit")) edit->setText(L"");
    showSearchClear(false);
}

void KVMultiMainFrame::onSearchTextChanged() {
    for (const wchar_t* name : {L"voiceCloseTipLabel", L"voiceOffBtn", L"voiceCloseIconImage"}) setShown(name, false);
    const auto* edit = m_window.findControl(L"searchEdit");
    showSearchClear(edit && !edit->text().empty());
    refreshList({.keepSearch = true});
}

void KVMultiMainFrame::clearSearch() {
    auto* edit = m_window.findControl(L"searchEdit");
    if (!edit) return;
    edit->setText(L"");
    onSearchTextChanged();
    m_window.setFocus(edit);
}

void KVMultiMainFrame::showSearchClear(bool show) {
    if (auto* clear = m_window.findControl(L"searchClearBtn")) {
        clear->setEnabled(show);
        clear->setVisible(show);
    }
}

void KVMultiMainFrame::updateOtherSetupButton() {
    setShown(L"otherSetupBtn", !m_batchBar && !searchMode() && hasOtherSettings(m_currentProduct));
}

void KVMultiMainFrame::setShown(std::wstring_view name, bool shown) {
    if (auto* c = m_window.findControl(name)) c->setVisible(shown);
}

} // namespace mainui
