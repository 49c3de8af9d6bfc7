// The main window's manager-wide windows: the backup/restore window of one instance, and what follows its
// choices (the file dialogs, the row's busy look and progress, the model's backup or restore, the failure
// the user is told of).
//
// The save dialog starts in the folder of this run's last backup; the first one starts where the system's
// dialog chooses (on Windows the folder it remembers, else Documents), never inside the install folder, whose
// instance folders a later remove would delete together with a backup kept there.

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/MenuRules.h"
#include "ui/setup/BackupNames.h"

namespace mainui {

using common::lang::lookUpWithFallback;

void KVMultiMainFrame::showBackupRestoreWindow(std::int32_t id) {
    if (!m_backupRestoreWindow) {
        setupui::MultiBackupRestoreWindow::Callbacks callbacks{
            .backup = [this](bool compress) { chooseBackupFile(compress); },
            .restore = [this] { chooseRestoreFile(); },
            .compressionChanged =
                [this](bool compress) {
                    m_model.players().applyToAllSettings([compress](common::GlobalSettings& s) {
                        s.set(common::settings::backupWithCompression, compress);
                        (void)s.save(); // a failed write is logged; the box keeps the choice for this run
                    });
                },
            .closed = [this] { showOverlay(false); }};
        auto window = std::make_unique<setupui::MultiBackupRestoreWindow>(std::move(callbacks));
        if (!window->create(m_factory, m_backupRestoreSkin)) return;
        m_backupRestoreWindow = std::move(window);
    }
    m_backupId = id;
    showOverlay(true);
    m_backupRestoreWindow->show(m_window, m_settings.get(common::settings::backupWithCompression));
    if (m_services.showDialog)
        m_services.showDialog(m_backupRestoreWindow->window(), setupui::MultiBackupRestoreWindow::kClassName);
}

// The file dialog runs after the click's notification has returned: it has a message loop of its own.
void KVMultiMainFrame::chooseBackupFile(bool compress) {
    common::dispatch::post(ownerKey(), new common::FunctionRunable([this, compress] {
                               ui::Window& window = m_backupRestoreWindow->window();
                               if (!window.isOpen()) return; // a second click, after the first one's choice
                               const model::InstanceRecord* record = m_model.findRecord(m_backupId);
                               if (!record) return window.close();
                               if (!m_services.chooseSaveFile) return;
                               const auto file = m_services.chooseSaveFile(
                                   setupui::backupSaveRequest(record->name, m_lastBackupFolder));
                               if (!file || !m_model.findRecord(m_backupId)) return;
                               m_lastBackupFolder = file->parent_path();
                               if (KVMultiMainItem* row = findRow(m_backupId)) row->setStatus(5);
                               m_model.backup(m_backupId, *file, compress);
                               window.close(1);
                           }));
}

void KVMultiMainFrame::chooseRestoreFile() {
    common::dispatch::post(ownerKey(), new common::FunctionRunable([this] {
                               ui::Window& window = m_backupRestoreWindow->window();
                               if (!window.isOpen()) return; // a second click, after the first one's choice
                               if (!m_model.findRecord(m_backupId)) return window.close();
                               if (!m_services.chooseOpenFile) return;
                               int index = 0;
                               const common::Players& players = m_model.playersOf(m_backupId, index);
                               const auto file =
                                   m_services.chooseOpenFile(setupui::restoreOpenRequest(players.installFolder()));
                               if (!file || !m_model.findRecord(m_backupId)) return;
                               if (KVMultiMainItem* row = findRow(m_backupId)) row->setStatus(6);
                               m_model.restore(m_backupId, *file);
                               window.close(1);
                           }));
}

void KVMultiMainFrame::onArchiveProgress(std::int32_t id, int percent) {
    if (KVMultiMainItem* row = findRow(id); row && (row->status() == 5 || row->status() == 6))
        row->setProgress(percent);
}

// The row goes back to how the instance is now; a failure is told, not only logged.
void KVMultiMainFrame::onArchiveFinished(std::int32_t id, bool restore, bool ok) {
    if (restore && ok) refreshList({.keepSearch = true}); // its name may differ, and with it its place
    const model::InstanceRecord* record = m_model.findRecord(id);
    reloadRow(id, record && isRunningStatus(record->status) ? record->status : 0);
    if (!ok) warning(lookUpWithFallback(restore ? L"multiplay_restore_failed" : L"multiplay_backup_failed"));
}

} // namespace mainui

namespace mainui {

void KVMultiMainFrame::showSetupFrame() {
    if (!m_setupFrame) {
        setupui::MultiSetupFrame::Services services{
            .installFolders = [this] { return m_model.installFolders(); },
            .solidState = m_services.solidState,
            .confirm =
                [this](const std::wstring& text, std::function<void()> onYes) {
                    // Over the dialog, which stays open: the box has no overlay of the main window to clear.
                    auto box = std::make_unique<msg::MessageBoxWindow>(0, lookUpWithFallback(L"prompt"), text);
                    box->addButton(lookUpWithFallback(L"cancel"), nullptr);
                    box->addButton(lookUpWithFallback(L"confirm"), std::move(onYes));
                    showBox(std::move(box));
                },
            .closed = [this] { showOverlay(false); }};
        auto frame = std::make_unique<setupui::MultiSetupFrame>(m_model.players(), std::move(services));
        if (!frame->create(m_factory, m_setupSkin)) return;
        m_setupFrame = std::move(frame);
    }
    showOverlay(true);
    m_setupFrame->show(m_window);
    if (m_services.showDialog) m_services.showDialog(m_setupFrame->window(), setupui::MultiSetupFrame::kClassName);
}

void KVMultiMainFrame::showOtherSetupFrame() {
    if (!m_otherSetupFrame) {
        // The tip comes after the dialog has gone, from the dispatcher: the save runs inside its close.
        setupui::MultiOtherSetupFrame::Callbacks callbacks{
            .saved =
                [this](bool lowered) {
                    if (lowered)
                        common::dispatch::post(ownerKey(), new common::FunctionRunable([this] { showQualityTip(); }));
                },
            .closed = [this] { showOverlay(false); }};
        auto frame = std::make_unique<setupui::MultiOtherSetupFrame>(m_model.players(), std::move(callbacks));
        if (!frame->create(m_factory, m_otherSetupSkin)) return;
        m_otherSetupFrame = std::move(frame);
    }
    showOverlay(true);
    m_otherSetupFrame->show(m_window);
    if (m_services.showDialog)
        m_services.showDialog(m_otherSetupFrame->window(), setupui::MultiOtherSetupFrame::kClassName);
}

void KVMultiMainFrame::showQualityTip() {
    if (!m_qualityTip) {
        auto tip = std::make_unique<view::GameQualityChangeTipFrame>();
        if (!tip->create(m_factory, m_qualityTipSkin)) return;
        tip->window().setOnClose([this](int) { showOverlay(false); });
        m_qualityTip = std::move(tip);
    }
    showOverlay(true);
    const std::wstring language = m_model.defaultProductPlayers().settings().get(common::settings::languageId);
    m_qualityTip->show(m_window, view::kProgramEdition, language);
    if (m_services.showDialog)
        m_services.showDialog(m_qualityTip->window(), view::GameQualityChangeTipFrame::kClassName);
}

} // namespace mainui
