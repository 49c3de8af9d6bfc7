// The tool bar's list tools: the sort menu, the search box, the selection boxes and the batch bar that
// replaces the tool bar while anything is selected.

#include "core/lang/LanguageStrings.h"
#include "toolkit/Button.h"
#include "toolkit/List.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/ListOrder.h"
#include "ui/main/RowLook.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

constexpr const wchar_t* kBoxPartly = L"file='common9\\checkbox_part_selected_normal.png' dest='0,0,16,16'";
constexpr const wchar_t* kBoxNormal = L"file='common9\\checkbox_normal.png' dest='0,0,16,16'";
constexpr const wchar_t* kBoxHover = L"file='common9\\checkbox_hover.png' dest='0,0,16,16'";

// Rows select-all leaves alone: being made (as a copy or new: no command may act on an instance that is not
// there yet), the product row's states, a copy's source and a failed copy.
bool selectAllSkips(int status) {
    switch (status) {
    case model::kStatusBeingCopied:
    case model::kStatusCreating:
    case kRowDownloading:
    case kRowInstalling:
    case kRowWaitingForInstall:
    case model::kStatusCopySource:
    case kRowCopyFailed:
        return true;
    default:
        return false;
    }
}

bool isChecked(KVMultiMainItem& row) {
    const auto* box = row.part<ui::Option>(L"optionSel");
    return box && box->selected();
}

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
        if (auto* sort = part<ui::Button>(L"sortBtn")) sort->setAttribute(L"normalimage", sortModeItem(mode).image);
        refreshList({.keepSearch = true});
    });
}

// ---- search ----

bool KVMultiMainFrame::searchMode() const {
    const auto* layout = part(L"searchLayout");
    return layout && layout->visible();
}

void KVMultiMainFrame::enterSearch() {
    for (const wchar_t* name : {L"otherSetupBtn", L"searchBtn", L"addGroupBtn", L"sortBtn"}) setShown(name, false);
    setShown(L"searchLayout", true);
    m_window.setFocus(part(L"searchEdit"));
}

void KVMultiMainFrame::leaveSearch() {
    setShown(L"searchLayout", false);
    updateOtherSetupButton();
    setShown(L"searchBtn", true);
    setShown(L"addGroupBtn", !m_batchBar);
    setShown(L"sortBtn", !m_batchBar);
    if (auto* edit = part(L"searchEdit")) edit->setText(L"");
    showSearchClear(false);
}

void KVMultiMainFrame::onSearchTextChanged() {
    for (const wchar_t* name : {L"voiceCloseTipLabel", L"voiceOffBtn", L"voiceCloseIconImage"}) setShown(name, false);
    const auto* edit = part(L"searchEdit");
    showSearchClear(edit && !edit->text().empty());
    refreshList({.keepSearch = true});
}

void KVMultiMainFrame::clearSearch() {
    auto* edit = part(L"searchEdit");
    if (!edit) return;
    edit->setText(L"");
    onSearchTextChanged();
    m_window.setFocus(edit);
}

void KVMultiMainFrame::showSearchClear(bool show) {
    if (auto* clear = part(L"searchClearBtn")) {
        clear->setEnabled(show);
        clear->setVisible(show);
    }
}

// ---- selection and the batch bar ----

KVMultiMainFrame::ListRows KVMultiMainFrame::listRows() const {
    ListRows out;
    const auto* list = part<ui::List>(L"listVm");
    if (!list) return out;
    for (std::size_t i = 0; i < list->count(); ++i) {
        ui::Control* item = list->at(i);
        if (item == m_productRow) continue;
        if (auto* row = dynamic_cast<KVMultiMainItem*>(item))
            out.rows.push_back(row);
        else if (auto* group = dynamic_cast<KVMultiGroupMainItem*>(item))
            out.groups.push_back(group);
    }
    return out;
}

std::vector<std::int32_t> KVMultiMainFrame::selectedIds() const {
    std::vector<std::int32_t> ids;
    for (KVMultiMainItem* row : listRows().rows)
        if (row->visible() && isChecked(*row)) ids.push_back(row->id());
    return ids;
}

void KVMultiMainFrame::updateSelection() {
    auto* all = part<ui::Option>(L"btnSelAll");
    if (!all) return;
    const ListRows shown = listRows();
    if (shown.rows.empty() && shown.groups.empty()) {
        all->setSelected(false, false);
        return;
    }
    bool every = true;
    int count = 0;
    for (KVMultiMainItem* row : shown.rows) {
        if (!row->visible()) continue;
        if (isChecked(*row))
            ++count;
        else
            every = false;
    }
    for (KVMultiGroupMainItem* group : shown.groups)
        if (group->visible() && !group->checked()) every = false;
    all->setSelected(every, false);
    showSelectedCount(count);
    const bool partly = !every && count > 0;
    all->setAttribute(L"normalimage", partly ? kBoxPartly : kBoxNormal);
    all->setAttribute(L"hotimage", partly ? kBoxPartly : kBoxHover);
    m_window.needLayout(); // the bar's line follows the count text
}

void KVMultiMainFrame::showSelectedCount(int count) {
    std::wstring text = lookUpWithFallback(L"multiplay_selected_count");
    if (const auto at = text.find(L"{count}"); at != std::wstring::npos) text.replace(at, 7, std::to_wstring(count));
    if (auto* all = part(L"btnSelAll")) all->setText(text);
}

void KVMultiMainFrame::onRowCheckChanged(KVMultiMainItem& row) {
    if (KVMultiGroupMainItem* group = findGroupRow(row.groupName())) group->updateGroupCheck();
    afterCheckChanged(isChecked(row));
}

void KVMultiMainFrame::afterCheckChanged(bool checked) {
    updateSelection();
    if (checked && !m_batchBar) {
        enterBatchBar();
    } else if (!checked && m_batchBar) {
        leaveBatchBarIfEmpty();
    }
}

void KVMultiMainFrame::selectAll(bool checked) {
    const ListRows shown = listRows();
    for (KVMultiGroupMainItem* group : shown.groups)
        if (group->visible()) group->setChecked(checked);
    int count = 0;
    for (KVMultiMainItem* row : shown.rows) {
        if (!row->visible()) continue;
        ++count;
        auto* box = row->part<ui::Option>(L"optionSel");
        if (!box || (checked && selectAllSkips(row->status()))) continue;
        box->setSelected(checked, false);
    }
    showSelectedCount(checked ? count : 0);
    if (checked) {
        enterBatchBar();
    } else {
        leaveBatchBarIfEmpty();
    }
}

void KVMultiMainFrame::enterBatchBar() {
    m_batchBar = true;
    setShown(L"btnAddVm", false);
    setShown(L"btnSelAll", true);
    setShown(L"batchOpBar", true);
    setShown(L"btnSelAllHoverLayout", false);
    for (const wchar_t* name : {L"otherSetupBtn", L"addGroupBtn", L"sortBtn"}) setShown(name, false);
    showSelectionBoxes(true);
}

void KVMultiMainFrame::leaveBatchBar() {
    m_batchBar = false;
    const bool searching = searchMode();
    setShown(L"btnAddVm", true);
    setShown(L"btnSelAll", false);
    setShown(L"batchOpBar", false);
    setShown(L"btnSelAllHoverLayout", true);
    updateOtherSetupButton();
    setShown(L"addGroupBtn", !searching);
    setShown(L"sortBtn", !searching);
    if (auto* hover = part<ui::Option>(L"btnSelAllHover")) hover->setSelected(false, false);
    const ListRows shown = listRows();
    for (KVMultiMainItem* row : shown.rows)
        if (auto* box = row->part<ui::Option>(L"optionSel"); box && row->visible()) box->setSelected(false, false);
    for (KVMultiGroupMainItem* group : shown.groups) group->setChecked(false);
    showSelectionBoxes(false);
}

void KVMultiMainFrame::leaveBatchBarIfEmpty() {
    const ListRows shown = listRows();
    for (KVMultiMainItem* row : shown.rows)
        if (row->visible() && isChecked(*row)) return;
    for (KVMultiGroupMainItem* group : shown.groups)
        if (group->visible() && group->checked()) return;
    leaveBatchBar();
}

// The boxes show only while the batch bar does: a click on a row's background is how a selection starts.
void KVMultiMainFrame::showSelectionBoxes(bool show) {
    const ListRows shown = listRows();
    for (KVMultiMainItem* row : shown.rows)
        if (auto* box = row->part(L"optionSel")) box->setVisible(show);
    for (KVMultiGroupMainItem* group : shown.groups)
        if (auto* box = group->part(L"optionGroupSel")) box->setVisible(show);
}

void KVMultiMainFrame::updateOtherSetupButton() {
    setShown(L"otherSetupBtn", !m_batchBar && !searchMode() && hasOtherSettings(m_currentProduct));
}

void KVMultiMainFrame::setShown(std::wstring_view name, bool shown) {
    if (auto* c = part(name)) c->setVisible(shown);
}

} // namespace mainui
