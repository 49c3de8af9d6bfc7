// The batch bar's commands on the selected instances: start them one after another, stop them, remove
// them, open their settings, and move them in or out of groups.

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "core/product/ProductLine.h"
#include "ui/main/KVMultiMainFrame.h"

namespace mainui {

using common::lang::lookUpWithFallback;

void KVMultiMainFrame::openBatchMenu(const ui::Control& anchor) {
    const std::vector<std::int32_t> ids = selectedIds();
    bool anyRunning = false;
    for (std::int32_t id : ids)
        if (KVMultiMainItem* row = findRow(id); row && isRunningStatus(row->status())) anyRunning = true;
    fillMenu(newMenu(), batchMenu(static_cast<int>(ids.size()), anyRunning, openableWindows()));
    popupMenuBelow(anchor, 0, 4, [this](const std::wstring& command) { doBatchOpMenuCommand(command); });
}

void KVMultiMainFrame::doBatchOpMenuCommand(const std::wstring& command) {
    if (command == L"MENU_RUN") return startSelected();
    if (command == L"MENU_CLOSE") return stopSelected();
    if (command == L"MENU_REMOVE") return removeSelected();
    if (command == L"MENU_BATCH") return openBatchSettings();
    if (command == L"MENU_MOVE_GROUP") return openMoveToGroup(selectedIds());
    if (command == L"MENU_MOVEOUT_GROUP") return moveOutOfGroup(selectedIds());
}

// The first starts at once, the others one per tick of the batch start timer. A batch start that still
// runs ignores the next one.
void KVMultiMainFrame::startSelected() {
    if (m_batchStartTimer.isActive()) return;
    m_startQueue = selectedIds();
    m_startPosition = 0;
    if (m_startQueue.empty()) return;
    const std::uint32_t interval = batchStartIntervalMs(m_settings.get(common::settings::batchStartInterval));
    startNextQueued();
    if (m_startPosition < m_startQueue.size()) m_batchStartTimer.start(interval, [this] { startNextQueued(); });
}

void KVMultiMainFrame::startNextQueued() {
    if (m_startPosition < m_startQueue.size()) m_model.launch(m_startQueue[m_startPosition++]);
    if (m_startPosition >= m_startQueue.size()) m_batchStartTimer.stop();
}

void KVMultiMainFrame::stopSelected() {
    const std::vector<std::int32_t> ids = selectedIds();
    if (ids.empty()) return;
    confirm(L"multiplay_quit_all_notice", [this, ids] {
        for (std::int32_t id : ids) m_model.stop(id);
    });
}

// One reload for the whole batch: each removal leaves the groups and the list alone, the batch then cleans
// the groups of the line, reloads and rebuilds once.
void KVMultiMainFrame::removeSelected() {
    KVLOG_AS("KVMultiMainFrame::doBatchOpMenuCommand", L"rqmultiplayer, batchDeletePlayers");
    const std::vector<std::int32_t> ids = selectedIds();
    if (ids.empty()) return;
    confirm(L"multiplay_delete_selecteds_notice", [this, ids] {
        if (m_services.makeTopmost) m_services.makeTopmost();
        for (std::int32_t id : ids) m_model.remove(id, false);
        const KV_PRODUCT_TYPE product = product::productOfId(ids.front());
        m_model.groups().removeFromGroups(product, ids);
        m_model.reloadPlayerList();
        refreshList({.switchTabsTo = product, .animate = true});
        updateSelection();
    });
}

// Settings are not changed under a running instance: the box offers to stop the running ones instead.
void KVMultiMainFrame::openBatchSettings() {
    const std::vector<std::int32_t> ids = selectedIds();
    if (ids.empty() || !m_services.openSettings) return;
    std::vector<std::int32_t> running;
    for (std::int32_t id : ids)
        if (KVMultiMainItem* row = findRow(id); row && isRunningStatus(row->status())) running.push_back(id);
    if (!running.empty()) {
        showOverlay(true);
        auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"),
                                                           lookUpWithFallback(L"multi_running"));
        box->addButton(lookUpWithFallback(L"multi_close"), [this, running] {
            KVLOG_AS("KVMultiMainFrame::doBatchOpMenuCommand", L"rqmultiplayer, batchStopPlayers to setup");
            for (std::int32_t id : running) m_model.stop(id);
        });
        box->setOnClose([this] { showOverlay(false); });
        return showBox(std::move(box));
    }
    if (ids.size() > 1) m_model.setBatchIds(ids);
    m_services.openSettings(ids);
}

} // namespace mainui
