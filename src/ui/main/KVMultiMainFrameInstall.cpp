// The main window's side of downloading and installing a product line: the product row at the end of the
// list (its progress, retry, install and stop buttons), the install state, the installer run once no
// instance runs, and what follows a successful install (the line's storage, its settings, the creates that
// waited for it).
//
// The download and the installer run on ProductInstall's threads; their reports are posted under this
// window's key, so a report that arrives after the window closed is dropped.

#include <array>
#include <memory>

#include "core/dispatch/Dispatcher.h"
#include "core/install/InstallPackages.h"
#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "core/product/ProductLine.h"
#include "toolkit/List.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/RowLook.h"

namespace mainui {

using common::lang::lookUpWithFallback;

namespace {

constexpr std::chrono::milliseconds kRestartWait{2000};
constexpr std::chrono::milliseconds kStopWait{5000};

// The product row's name when it updates a line, by KV_PRODUCT_TYPE.
constexpr std::array<const wchar_t*, product::kProductCount> kUpdateLabels = {
    L"7.1(32-bit) update", L"7.1(64-bit) update", L"9.0(64-bit) update", L"5.1(32-bit) update", L"14.0(64-bit) update"};

// "32 path %s" and its siblings, by KV_PRODUCT_TYPE.
constexpr std::array<const wchar_t*, product::kProductCount> kPathLogs = {L"32 path %s", L"64 path %s", L"9 path %s",
                                                                          L"3 path %s", L"14 path %s"};

} // namespace

void KVMultiMainFrame::startDownloadPlayer(KV_PRODUCT_TYPE product, bool update) {
    if (m_installState != install::kIdle) return notice(lookUpWithFallback(L"multi_wait_install"));
    if (!m_services.installTransfers) {
        KVLOG(L"no download clients: player %d cannot be installed here", static_cast<int>(product));
        return notice(lookUpWithFallback(L"multiplay_add_product_missing"));
    }
    std::unique_ptr<KVMultiMainItem> row = newRow();
    model::InstanceRecord record;
    record.id = product::encodeInstanceId(product, 0);
    record.name = update ? kUpdateLabels[static_cast<std::size_t>(product)] : L"KVPlayer";
    record.status = kRowDownloading;
    row->setInfo(record, L"", L"");
    row->setInstallProgress(0);
    row->setProgress(0);
    row->showNewMarker(true);
    setProductRow(std::move(row), product);
    refreshList({.switchTabsTo = product, .animate = true, .reloadModel = true});
    if (!m_scrollTimer.isActive()) startScrollToEnd();

    m_installUpdate = update;
    if (!m_productInstall) {
        const common::OwnerKey key = ownerKey();
        const auto post = [key](std::function<void()> task) {
            common::dispatch::post(key, new common::FunctionRunable(std::move(task)));
        };
        install::InstallReports reports{
            .progress = [this, post](int percent) { post([this, percent] { onDownloadProgress(percent); }); },
            .downloadFailed = [this, post] { post([this] { onDownloadFailed(); }); },
            .downloaded =
                [this, post](const std::filesystem::path& installer) {
                    post([this, installer] { onInstallerDownloaded(installer); });
                },
            .installEnded = [this, post](bool ok) { post([this, ok] { onInstallEnded(ok, m_installFromButton); }); }};
        m_productInstall = std::make_unique<install::ProductInstall>(m_services.installTransfers,
                                                                     m_services.installerFolder, std::move(reports));
    }
    m_installState = install::kDownloading;
    m_productInstall->startDownload(product, kRestartWait);
}

void KVMultiMainFrame::updatePlayerOf(std::int32_t id) {
    const int highByte = static_cast<int>((static_cast<std::uint32_t>(id) >> 24) & 0xFF);
    if (const std::optional<KV_PRODUCT_TYPE> line = product::productOfIdCode(highByte)) {
        startDownloadPlayer(*line, true);
    } else {
        KVLOG(L"no product line for instance %d: nothing to update", id);
    }
}

void KVMultiMainFrame::onDownloadProgress(int percent) {
    if (m_productRow && m_installState == install::kDownloading) m_productRow->setProgress(percent);
}

void KVMultiMainFrame::installProgress(std::intptr_t first, std::intptr_t value) {
    KVLOG_AS("KVMultiMainFrame::installProgress", L"install  progress %d %d", static_cast<int>(first),
             static_cast<int>(value));
    if (m_productRow) m_productRow->setProgress(static_cast<int>(value));
}

void KVMultiMainFrame::onDownloadFailed() {
    m_installState = install::kIdle;
    if (m_productRow) m_productRow->setStatus(kRowDownloadFailed);
}

void KVMultiMainFrame::onInstallerDownloaded(const std::filesystem::path& installer) {
    if (!m_productRow) return; // stopped meanwhile
    m_model.refreshPlayerStatus();
    if (m_model.anyPlayerWindowOpen()) {
        m_waitingInstaller = installer;
        m_installState = install::kWaitingForInstances;
        KVLOG_AS("KVMultiMainFrame::threadDownloadPlayer", L"player running");
        m_productRow->setStatus(kRowWaitingForInstall);
        return;
    }
    m_productRow->setInstallProgress(0);
    m_productRow->setStatus(kRowInstalling);
    m_installState = install::kInstalling;
    m_installFromButton = false;
    m_productInstall->startInstaller(installer);
}

void KVMultiMainFrame::onInstallButton(KVMultiMainItem& row) {
    if (&row != m_productRow) return;
    const auto* button = row.part(L"installBtn");
    if (button && button->tag() == 1) return restartDownload();
    runWaitingInstaller();
}

// Every attempt starts the file from zero: the download thread deletes the temporary file first.
void KVMultiMainFrame::restartDownload() {
    if (!m_productInstall || m_installState != install::kIdle) return;
    m_productRow->setProgress(0);
    m_productRow->setStatus(kRowDownloading);
    m_installState = install::kDownloading;
    m_productInstall->startDownload(m_productRowProduct, kRestartWait);
}

void KVMultiMainFrame::runWaitingInstaller() {
    if (m_installState != install::kWaitingForInstances) return;
    m_model.refreshPlayerStatus();
    if (m_model.anyPlayerWindowOpen()) return notice(lookUpWithFallback(L"multi_install_error1"));
    m_productRow->setInstallProgress(0);
    m_productRow->setStatus(kRowInstalling);
    m_installState = install::kInstalling;
    m_installFromButton = true;
    m_productInstall->startInstaller(m_waitingInstaller);
}

void KVMultiMainFrame::onInstallEnded(bool succeeded, bool fromInstallButton) {
    const KV_PRODUCT_TYPE product = m_productRowProduct;
    forgetProductRow();
    m_installState = install::kIdle;
    m_waitingInstaller.clear();
    if (!succeeded) {
        refreshList({.switchTabsTo = KV_PRODUCT_14, .animate = true, .reloadModel = true});
        return;
    }
    onPlayerInstalled(product, !m_installUpdate);
    if (fromInstallButton && m_installUpdate) {
        showOverlay(true);
        auto box = std::make_unique<msg::MessageBoxWindow>(0, L"提示", L"版本更新已完成");
        box->addButton(lookUpWithFallback(L"confirm"), nullptr);
        box->setOnClose([this] { showOverlay(false); });
        showBox(std::move(box));
    }
}

void KVMultiMainFrame::onStopDownloadButton(KVMultiMainItem& row) {
    if (&row == m_productRow) return confirm(L"multi_stop_download", [this] { stopProductDownload(); });
    if (row.status() != kRowCopyFailed) return;
    const std::int32_t id = row.id();
    m_rows.erase(id);
    if (auto* list = part<ui::List>(L"listVm")) list->remove(&row);
    m_model.remove(id, true);
}

void KVMultiMainFrame::stopProductDownload() {
    forgetProductRow();
    m_installState = install::kIdle;
    KVLOG(L"download stopped by the user");
    if (m_productInstall) m_productInstall->stopDownload(kStopWait);
    m_installState = install::kIdle;
    refreshList({.switchTabsTo = KV_PRODUCT_14, .animate = true, .reloadModel = true});
}

void KVMultiMainFrame::forgetProductRow() {
    auto* list = part<ui::List>(L"listVm");
    if (m_productRow && list && m_productRow->parent() == list) list->remove(m_productRow);
    m_productRowHeld.reset();
    m_productRow = nullptr;
}

void KVMultiMainFrame::onPlayerInstalled(KV_PRODUCT_TYPE product, bool startPendingCreates) {
    const int preselected = m_model.defaultProductLine(); // before the new line can become it
    std::wstring path32, path64, path9, path3, path14;
    m_model.getPlayerPath(path32, path64, path9, path3, path14);
    const std::wstring& folder = m_model.installFolders()[static_cast<std::size_t>(product)];
    KVLOG_AS("KVMultiMainFrame::onPlayerInstalled", kPathLogs[static_cast<std::size_t>(product)], folder);
    common::PlayerSet& players = m_model.players();
    if (!folder.empty()) {
        players.line(product).init(folder);
        players.copySettingsOnInstall(product, preselected >= 0 ? static_cast<KV_PRODUCT_TYPE>(preselected) : product);
    }
    refreshList({.reloadModel = true});
    if (!startPendingCreates || m_addingCount > 0 || m_pendingCount < 1) return;
    if (folder.empty()) {
        KVLOG(L"player %d still not found after its install: %d creates dropped", static_cast<int>(product),
              m_pendingCount);
        m_pendingCount = 0;
        return;
    }
    startPendingSeries();
}

} // namespace mainui
