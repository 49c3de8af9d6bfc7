// The tool bar's list tools: the sort menu, the search box, the selection boxes and the batch bar that
// replaces the tool bar while anything is selected.

#include "core/lang/LanguageStrings.h"
#include "toolkit/Button.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/ListOrder.h"

namespace mainui {

using common::lang::lookUpWithFallback;

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

} // namespace mainui
