// The main window's menus on one instance, for adding, for arranging windows and the main menu, and the
// commands they run. Items whose window does not exist yet show disabled (MenuRules.h).

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "core/product/ProductLine.h"
#include "toolkit/List.h"
#include "ui/main/KVMultiMainFrame.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

// The delayed removals run under this window's key, one per instance id, so two removals never replace
// each other; the frame schedules no other delayed call.
constexpr int kRemoveDelayMs = 10;

} // namespace

OpenableWindows KVMultiMainFrame::openableWindows() const {
    return {.settings = static_cast<bool>(m_services.openSettings),
            .add = static_cast<bool>(m_services.openAddDialog),
            .copy = static_cast<bool>(m_services.openCopyDialog),
            .backup = static_cast<bool>(m_services.openBackup),
            .setup = static_cast<bool>(m_services.openSetup)};
}

// The row pattern is copied for every row: its buttons for missing windows are disabled once, here.
void KVMultiMainFrame::disableMissingWindowButtons() {
    const OpenableWindows windows = openableWindows();
    if (auto* settings = m_rowTemplate->part(L"btnSettingVm")) settings->setEnabled(windows.settings);
    if (auto* backup = m_rowTemplate->part(L"btnBackupVm")) backup->setEnabled(windows.backup);
    if (auto* other = part(L"otherSetupBtn")) other->setEnabled(static_cast<bool>(m_services.openOtherSetup));
    if (auto* voiceOff = part(L"voiceOffBtn")) voiceOff->setEnabled(windows.setup);
}

void KVMultiMainFrame::fillMenu(ui::RQMenuWnd& menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries)
        menu.addItem(lookUpWithFallback(entry.textKey), std::wstring(entry.command), entry.enabled);
}

void KVMultiMainFrame::openInstanceMenu(KVMultiMainItem& row, std::optional<ui::Point> at) {
    fillMenu(newMenu(), instanceMenu(row.status(), !row.groupName().empty(), openableWindows()));
    const std::int32_t id = row.id();
    const auto onCommand = [this, id](const std::wstring& command) { onInstanceCommand(id, command); };
    if (at) return popupMenuAt(*at, onCommand);
    if (auto* more = row.part(L"moreBtn")) popupMenuBelow(*more, -4, 4, onCommand);
}

void KVMultiMainFrame::onInstanceCommand(std::int32_t id, const std::wstring& command) {
    KVMultiMainItem* row = findRow(id);
    if (command == L"setup") {
        if (m_services.openSettings) m_services.openSettings({id});
    } else if (command == L"copy") {
        if (m_copiesLeft > 0) return notice(lookUpWithFallback(L"multi_wait_copying"));
        if (m_services.openCopyDialog) m_services.openCopyDialog(id);
    } else if (command == L"run") {
        bringInstanceForward(id);
    } else if (command == L"save") {
        if (m_services.openBackup) m_services.openBackup(id);
    } else if (command == L"shortcut") {
        if (row) onShortcut(*row);
    } else if (command == L"moveToGrouup") {
        openMoveToGroup({id});
    } else if (command == L"moveOutGroup") {
        moveOutOfGroup({id});
    } else if (command == L"delete") {
        confirmDelete(id);
    }
}

void KVMultiMainFrame::bringInstanceForward(std::int32_t id) {
    const model::InstanceRecord* record = m_model.findRecord(id);
    if (!record || !isRunningStatus(record->status) || !record->topWindow) return;
    if (m_services.bringForward) m_services.bringForward(record->topWindow);
}

void KVMultiMainFrame::confirmDelete(std::int32_t id) {
    confirm(L"multiplay_delete_player_notice", [this, id] {
        // Later, so that the box is gone before the list changes.
        common::dispatch::delay(ownerKey(), id, kRemoveDelayMs,
                                new common::FunctionRunable([this, id] { removeDeferred(id); }));
    });
}

void KVMultiMainFrame::removeDeferred(std::int32_t id) {
    const model::InstanceRecord* record = m_model.findRecord(id);
    if (record && isRunningStatus(record->status)) {
        KVLOG(L"player %d started meanwhile, not removed", id);
        return;
    }
    if (m_services.makeTopmost) m_services.makeTopmost();
    takeRowOut(id);
    const KV_PRODUCT_TYPE product = product::productOfId(id);
    m_model.groups().removeFromGroups(product, {id});
    m_model.remove(id, true);
    if (m_services.instanceRemoved) m_services.instanceRemoved(id);
    updateSelection();
    refreshList({.switchTabsTo = product, .keepSearch = true});
}

// The row leaves its group row and the list; the row map forgets it.
void KVMultiMainFrame::takeRowOut(std::int32_t id) {
    KVMultiMainItem* row = findRow(id);
    if (!row) return;
    if (KVMultiGroupMainItem* group = findGroupRow(row->groupName())) {
        group->removeMemberRow(row);
        group->updateGroupCheck();
    }
    m_rows.erase(id);
    if (auto* list = part<ui::List>(L"listVm")) list->remove(row);
}

// The row's own delete button: the same question, and the removal at once. Like the menu item it leaves a
// running or busy instance alone: its folder is in use.
void KVMultiMainFrame::onRemoveButton(KVMultiMainItem& row) {
    const std::int32_t id = row.id();
    if (isRunningStatus(row.status()) || isBusyStatus(row.status())) {
        KVLOG(L"player %d is running or busy, not removed", id);
        return;
    }
    confirm(L"multiplay_delete_player_notice", [this, id] {
        takeRowOut(id);
        m_model.remove(id, true);
        updateSelection();
    });
}

// ---- add, sequence and main menus ----

void KVMultiMainFrame::onAddCommand(const std::wstring& command) {
    if (command == L"MENU_ADD") {
        if (m_addingCount > 0) return notice(lookUpWithFallback(L"multiplay_add_wait"));
        if (m_services.openAddDialog) m_services.openAddDialog();
    } else if (command == L"MENU_COPY") {
        if (m_copiesLeft > 0) return notice(lookUpWithFallback(L"multi_wait_copying"));
        if (m_services.openCopyDialog) m_services.openCopyDialog(-1);
    }
}

void KVMultiMainFrame::onSequenceCommand(const std::wstring& command) {
    if (command == L"MENU_SETUP") return onMainMenuCommand(command);
    std::vector<std::int32_t> ids;
    if (command == L"MENU_ALL") {
        for (const KVMultiMainItem* row : listRows().rows) ids.push_back(row->id());
    } else if (command == L"MENU_SELECTED") {
        ids = selectedIds();
    } else {
        return;
    }
    arrangeRunning(ids);
}

// Only running instances have windows to arrange; the model picks the layout from the settings.
void KVMultiMainFrame::arrangeRunning(const std::vector<std::int32_t>& ids) {
    std::vector<std::int32_t> running;
    for (std::int32_t id : ids)
        if (const model::InstanceRecord* record = m_model.findRecord(id); record && isRunningStatus(record->status))
            running.push_back(id);
    if (running.empty()) return notice(lookUpWithFallback(L"multiplay_sequeue_zero_tip"));
    m_model.arrange(running);
}

void KVMultiMainFrame::onMainMenuCommand(const std::wstring& command) {
    if (command == L"MENU_SETUP") {
        if (m_services.openSetup) m_services.openSetup();
    } else if (command == L"MENU_HELP") {
        if (m_services.openUrl) m_services.openUrl(std::wstring(kHelpPageUrl));
    }
}

} // namespace mainui
