// The main window's reactions: the notifications of its controls, the model's reports and the close request.

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/List.h"
#include "ui/main/FrameRules.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/RowLook.h"
#include "ui/main/ShortcutName.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

std::optional<KV_PRODUCT_TYPE> tabProduct(std::wstring_view name) {
    if (name == L"product14Btn") return KV_PRODUCT_14;
    if (name == L"product9Btn") return KV_PRODUCT_9;
    if (name == L"product5_32Btn") return KV_PRODUCT_71_32;
    if (name == L"product5_64Btn") return KV_PRODUCT_71_64;
    if (name == L"product3Btn") return KV_PRODUCT_51;
    return std::nullopt;
}

} // namespace

void KVMultiMainFrame::onNotify(const ui::Notify& n) {
    if (!n.sender) return;
    const std::wstring name = n.sender->name(); // handlers may delete the sender
    if (auto* group = n.sender->findAncestor<KVMultiGroupMainItem>()) return onGroupNotify(n, *group);
    KVMultiMainItem* row = n.sender->findAncestor<KVMultiMainItem>();
    if (n.type == L"click") {
        if (name == L"closebtn") return closeRequest();
        if (const auto product = tabProduct(name)) return switchProduct(*product);
        if (name == L"sortBtn") return openSortMenu(*n.sender);
        if (name == L"searchBtn") return enterSearch();
        if (name == L"searchClearBtn") return clearSearch();
        if (name == L"addGroupBtn") return addGroup();
        if (name == L"voiceOffBtn" && m_services.openSetup) return m_services.openSetup();
        if (name == L"otherSetupBtn" && m_services.openOtherSetup) return m_services.openOtherSetup();
        if (name == L"btnBatchLaunch") return doBatchOpMenuCommand(L"MENU_RUN");
        if (name == L"btnBatchQuit") return doBatchOpMenuCommand(L"MENU_CLOSE");
        if (name == L"btnBatchMore") return openBatchMenu(*n.sender);
        if (name == L"btnAddVm")
            return popupMenuFor(*n.sender, 0, 6, addMenu(openableWindows()),
                                [this](const std::wstring& c) { onAddCommand(c); });
        if (name == L"btnSequeueWin")
            return popupMenuFor(*n.sender, 0, 4, sequenceMenu(openableWindows()),
                                [this](const std::wstring& c) { onSequenceCommand(c); });
        if (name == L"menuBtn")
            return popupMenuFor(*n.sender, 0, 4, mainMenu(openableWindows()),
                                [this](const std::wstring& c) { onMainMenuCommand(c); });
        if (!row) return;
        if (name == L"btnBackground") {
            if (auto* box = row->part<ui::Option>(L"optionSel")) box->setSelected(!box->selected(), false);
            return onRowCheckChanged(*row);
        }
        if (name == L"labelNameBtn") return row->beginRename();
        if (name == L"startBtn") return onStartButton(*row);
        if (name == L"stopDownloadBtn") return onStopDownloadButton(*row);
        if (name == L"installBtn") return onInstallButton(*row);
        if (name == L"shortcutVm") return onShortcut(*row);
        if (name == L"moreBtn") return openInstanceMenu(*row, std::nullopt);
        if (name == L"btnSettingVm") return onInstanceCommand(row->id(), L"setup");
        if (name == L"btnBackupVm") return onInstanceCommand(row->id(), L"save");
        if (name == L"btnRemoveVm") return onRemoveButton(*row);
    } else if (n.type == L"selectchanged") {
        if (name == L"optionSel" && row) return onRowCheckChanged(*row);
        if (name == L"btnSelAll") return selectAll(static_cast<ui::Option*>(n.sender)->selected());
        if (name == L"btnSelAllHover" && static_cast<ui::Option*>(n.sender)->selected())
            if (auto* all = part<ui::Option>(L"btnSelAll")) all->setSelected(true);
    } else if (n.type == L"textchanged" && name == L"searchEdit") {
        onSearchTextChanged();
    } else if (n.type == L"killfocus" && name == L"searchEdit") {
        if (n.sender->text().empty()) leaveSearch();
    } else if (n.type == L"killfocus" && name == L"editName" && row) {
        const std::wstring newName = row->endRename();
        m_model.rename(row->id(), newName);
    } else if (n.type == L"return" && name == L"editName") {
        m_window.setFocus(nullptr);
    } else if (n.type == ui::events::kRightButtonDown && name == L"btnBackground" && row) {
        const ui::Point cursor = m_window.lastMousePoint();
        openInstanceMenu(*row, ui::Point{cursor.x + 1, cursor.y});
    } else if (n.type == L"btnmouseenter" && name == L"btnBackground" && row) {
        row->showNewMarker(false);
    }
}

void KVMultiMainFrame::onStartButton(KVMultiMainItem& row) {
    const std::int32_t id = row.id();
    if (row.status() == model::kStatusRunning || row.status() == model::kStatusWindowWithoutMutex) {
        confirm(L"multiplay_quit_player_notice", [this, id] { m_model.stop(id); });
    } else {
        m_model.launch(id);
    }
}

void KVMultiMainFrame::onShortcut(KVMultiMainItem& row) {
    int index = 0;
    const common::Players& players = m_model.playersOf(row.id(), index);
    const std::wstring folder = players.installFolder().wstring();
    ShortcutRequest request{folder + L"\\rqplayer.exe", L"index=" + std::to_wstring(index), folder,
                            desktopShortcutName(row.playerName())};
    // The notice comes either way; a shortcut that was not saved is reported in the log.
    if (!m_services.createShortcut || !m_services.createShortcut(request))
        KVLOG(L"desktop shortcut %s.lnk was not saved", request.name);
    std::wstring text = lookUpWithFallback(L"multiplay_shortcut_created_notice");
    if (const auto at = text.find(L"%s"); at != std::wstring::npos) text.replace(at, 2, row.playerName());
    notice(std::move(text));
}

// ---- the model's reports ----

// Under this window's key: its closing drops every subscription below together with its queued tasks.
void KVMultiMainFrame::subscribeToModel() {
    model::ModelEvents& events = m_model.events();
    const common::OwnerKey me = ownerKey();
    events.playerStateChanged.subscribe(me, [this](std::int32_t id, bool running, platform::WindowHandle) {
        if (KVMultiMainItem* row = findRow(id)) row->setStatus(running ? model::kStatusRunning : 0);
    });
    events.playerAdded.subscribe(me, [this](KV_PRODUCT_TYPE product, std::int32_t id) { onPlayerAdded(product, id); });
    events.copyStarted.subscribe(
        me, [this](KV_PRODUCT_TYPE product, std::int32_t id, const std::wstring&) { onPlayerAdded(product, id); });
    events.createFinished.subscribe(me, [this](KV_PRODUCT_TYPE, std::int32_t id) { onCreateFinished(id); });
    events.copyFinished.subscribe(me, [this](std::int32_t id) { onCopyFinished(id); });
    events.settingsChanged.subscribe(me, [this](std::int32_t id) {
        if (const model::InstanceRecord* record = m_model.findRecord(id)) reloadRow(id, record->status);
    });
    const auto progress = [this](std::int32_t id, int percent) {
        if (KVMultiMainItem* row = findRow(id)) row->setProgress(percent);
    };
    events.createProgress.subscribe(me, progress);
    events.copyProgress.subscribe(me, progress);
    events.listChanged.subscribe(me, [this] { refreshList({.reloadModel = true}); });
    events.archiveProgress.subscribe(me, [this](std::int32_t id, int percent) { onArchiveProgress(id, percent); });
    events.archiveFinished.subscribe(
        me, [this](std::int32_t id, bool restore, bool ok) { onArchiveFinished(id, restore, ok); });
}

void KVMultiMainFrame::onPlayerAdded(KV_PRODUCT_TYPE product, std::int32_t id) {
    refreshList({.switchTabsTo = product, .animate = true, .reloadModel = true, .keepSearch = true});
    if (!m_suppressScroll) startScrollToEnd();
    if (KVMultiMainItem* row = findRow(id)) row->showNewMarker(true);
}

// After 300 ms, once the new row has its place, the list scrolls to its end.
void KVMultiMainFrame::startScrollToEnd() {
    m_scrollTimer.start(300, [this] {
        m_scrollTimer.stop(); // one tick
        if (m_window.layoutDirty()) m_window.layout();
        if (auto* list = part<ui::List>(L"listVm")) list->scrollToEnd();
    });
}

void KVMultiMainFrame::reloadRow(std::int32_t id, int status) {
    m_diskSizes.erase(id);
    KVMultiMainItem* row = findRow(id);
    const model::InstanceRecord* record = m_model.findRecord(id);
    if (!row) return;
    row->setStatus(record && record->unfinishedCopy == -1 ? kRowCopyFailed : status); // a failed create or copy
    if (record) {
        model::InstanceRecord shown = *record;
        shown.diskSize = diskSizeOf(id);
        row->setDetails(shown);
        startDiskWalks();
    }
}

void KVMultiMainFrame::onCreateFinished(std::int32_t id) {
    reloadRow(id, 0);
    --m_addingCount;
    if (m_addingCount > 0) {
        m_suppressScroll = false;
        m_model.addPlayer(m_addingProduct, m_addingSetting);
    } else if (m_pendingCount > 0) {
        startPendingSeries();
    } else {
        checkDiskSpace(id);
    }
    updateSelection();
}

void KVMultiMainFrame::onCopyFinished(std::int32_t id) {
    reloadRow(id, 0);
    --m_copiesLeft;
    if (m_copiesLeft < 1) {
        if (KVMultiMainItem* source = findRow(m_copySource)) source->setStatus(0);
        checkDiskSpace(id);
    } else {
        m_model.copyPlayer(m_copySource);
    }
    updateSelection();
}

// ---- menus, confirmations and closing ----

ui::RQMenuWnd& KVMultiMainFrame::newMenu() {
    m_pendingMenu = std::make_unique<ui::RQMenuWnd>(m_menuSkin);
    return *m_pendingMenu;
}

void KVMultiMainFrame::popupMenuBelow(const ui::Control& anchor, int dx, int dy, ui::RQMenuWnd::Callback onCommand) {
    const ui::Rect r = anchor.rect();
    popupMenuAt({r.left + dx, r.bottom + dy}, std::move(onCommand));
}

void KVMultiMainFrame::popupMenuFor(const ui::Control& anchor, int dx, int dy, const std::vector<MenuEntry>& entries,
                                    ui::RQMenuWnd::Callback onCommand) {
    fillMenu(newMenu(), entries);
    popupMenuBelow(anchor, dx, dy, std::move(onCommand));
}

void KVMultiMainFrame::popupMenuAt(ui::Point client, ui::RQMenuWnd::Callback onCommand) {
    // The menu before the last one goes only after the host has let go of its window.
    auto older = std::move(m_retiredMenu);
    m_retiredMenu = std::move(m_menu);
    m_menu = std::move(m_pendingMenu);
    const ui::Point screen = m_services.clientToScreen ? m_services.clientToScreen(client) : client;
    if (m_menu->popup(screen, m_window.scale(), std::move(onCommand)) && m_services.showMenu)
        m_services.showMenu(*m_menu);
}

void KVMultiMainFrame::showBox(std::unique_ptr<msg::MessageBoxWindow> box) {
    // The box before the last one goes only after the host has let go of its window.
    auto older = std::move(m_retiredBox);
    m_retiredBox = std::move(m_box);
    m_box = std::move(box);
    if (!m_box->show(m_window, m_factory)) {
        showOverlay(false);
        return;
    }
    if (m_services.showBox) m_services.showBox(*m_box);
}

void KVMultiMainFrame::confirm(std::wstring_view textKey, std::function<void()> onConfirm) {
    showOverlay(true);
    auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"), lookUpWithFallback(textKey));
    box->addButton(lookUpWithFallback(L"cancel"), nullptr);
    box->addButton(lookUpWithFallback(L"confirm"), std::move(onConfirm));
    box->setOnClose([this] { showOverlay(false); });
    showBox(std::move(box));
}

void KVMultiMainFrame::notice(std::wstring text) {
    showOverlay(true);
    auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"), std::move(text));
    box->addButton(lookUpWithFallback(L"confirm"), nullptr);
    box->setOnClose([this] { showOverlay(false); });
    showBox(std::move(box));
}

void KVMultiMainFrame::ModelNotices::showMessage(const std::wstring&, const std::wstring& text) {
    common::dispatch::post(m_frame.ownerKey(),
                           new common::FunctionRunable([frame = &m_frame, text] { frame->notice(text); }));
}

void KVMultiMainFrame::warning(std::wstring text) {
    showOverlay(true);
    auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"warning"), std::move(text));
    box->addButton(lookUpWithFallback(L"confirm"), nullptr);
    box->setOnClose([this] { showOverlay(false); });
    showBox(std::move(box));
}

void KVMultiMainFrame::closeWindow() {
    if (m_services.closeWindow) {
        m_services.closeWindow(kCloseCode);
    } else {
        m_window.close(kCloseCode);
    }
}

void KVMultiMainFrame::closeRequest() {
    const bool groupControl = m_services.groupControlOpen && m_services.groupControlOpen();
    const auto stopAndClose = [this] {
        if (m_services.stopStorageOperation) m_services.stopStorageOperation();
        closeWindow();
    };
    switch (closeStep(m_copiesLeft, groupControl, m_installState)) {
    case CloseStep::ConfirmStopCopying:
        return confirm(L"multi_exit_copying", stopAndClose);
    case CloseStep::GroupControlNotice:
        return notice(lookUpWithFallback(L"groupcontrol_close_groupcontrol"));
    case CloseStep::ConfirmStopDownload:
        return confirm(L"multi_exit_downoading", stopAndClose);
    case CloseStep::ConfirmStopInstalling:
        return confirm(L"multi_exit_installing", [this] { closeWindow(); });
    case CloseStep::Close:
        return closeWindow();
    }
}

void KVMultiMainFrame::OnFinalMessage() {
    common::dispatch::retire(ownerKey()); // also ends its model subscriptions
    common::dispatch::cancelDelayed(ownerKey());
    m_model.setMainWindow(0);
    m_scrollTimer.stop();
    KVLOG_AS("KVMultiMainFrame::OnFinalMessage", L"delete this");
}

} // namespace mainui
