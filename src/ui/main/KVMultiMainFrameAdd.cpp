// The main window's side of adding and copying instances: the add and copy dialogs, the series they start
// (one create or copy at a time, the next started by the previous one's end) and the low-disk warning after
// a series.

#include <memory>

#include "core/dispatch/Dispatcher.h"
#include "core/files/Files.h"
#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
#include "core/log/WideFormat.h"
#include "core/product/ProductLine.h"
#include "ui/main/KVMultiMainFrame.h"

namespace mainui {

using common::lang::lookUpWithFallback;

void KVMultiMainFrame::showAddPlayerFrame(int count) {
    if (!m_addPlayerFrame) {
        KVAddPlayerFrame::Callbacks callbacks{
            .closed = [this] { showOverlay(false); },
            .add = [this](KV_PRODUCT_TYPE product, int n,
                          const common::CloneSetting& setting) { startAddSeries(product, n, setting); },
            .productMissing = [this](KV_PRODUCT_TYPE product, int n,
                                     const common::CloneSetting& setting) { onProductMissing(product, n, setting); },
            .resized =
                [this] {
                    if (m_services.dialogResized) m_services.dialogResized(m_addPlayerFrame->window());
                },
            .tipChanged =
                [this] {
                    if (m_services.showTip)
                        m_services.showTip(m_addPlayerFrame->mouseTip(), m_addPlayerFrame->window());
                }};
        const HostFacts host = m_services.hostFacts ? m_services.hostFacts() : HostFacts{};
        auto dialog = std::make_unique<KVAddPlayerFrame>(
            m_settings, host, [this](KV_PRODUCT_TYPE line) { return m_model.isInstalled(line); }, std::move(callbacks));
        if (!dialog->create(m_factory, m_addPlayerSkin, m_mouseTipSkin)) return;
        m_addPlayerFrame = std::move(dialog);
    }
    showOverlay(true);
    m_addPlayerFrame->show(m_window, count);
    if (m_currentProduct == KV_PRODUCT_9 || m_currentProduct == KV_PRODUCT_71_32)
        m_addPlayerFrame->selectProduct(m_currentProduct);
    if (m_services.showDialog) m_services.showDialog(m_addPlayerFrame->window(), KVAddPlayerFrame::kClassName);
}

void KVMultiMainFrame::startAddSeries(KV_PRODUCT_TYPE product, int count, const common::CloneSetting& setting) {
    KVLOG_AS("KVMultiMainFrame::onAddPlayer", L"add player %d %d", static_cast<int>(product), count);
    if (count < 1) return;
    m_addingCount = count;
    m_addingProduct = product;
    m_addingSetting = setting;
    m_suppressScroll = false;
    m_model.addPlayer(product, setting);
}

// The creates that waited for a line's install, as a series of their own; the list is not scrolled to them.
void KVMultiMainFrame::startPendingSeries() {
    m_addingCount = m_pendingCount;
    m_addingProduct = m_pendingProduct;
    m_addingSetting = m_pendingSetting;
    m_pendingCount = 0;
    m_suppressScroll = true;
    m_model.addPlayer(m_addingProduct, m_addingSetting);
}

// The creates wait for the line's install; the install starts them one after another.
void KVMultiMainFrame::onProductMissing(KV_PRODUCT_TYPE product, int count, const common::CloneSetting& setting) {
    m_pendingCount = count;
    m_pendingProduct = product;
    m_pendingSetting = setting;
    KVLOG(L"player %d not installed, %d creates wait", static_cast<int>(product), count);
    startDownloadPlayer(product, false);
}

void KVMultiMainFrame::showCopyPlayerFrame(std::optional<std::int32_t> source) {
    if (!m_copyPlayerFrame) {
        KVCopyPlayerFrame::Callbacks callbacks{
            .closed = [this] { showOverlay(false); },
            .copy = [this](std::int32_t from, int count) { onCopyConfirmed(from, count); }};
        auto dialog = std::make_unique<KVCopyPlayerFrame>(m_model, std::move(callbacks));
        if (!dialog->create(m_factory, m_copyPlayerSkin)) return;
        m_copyPlayerFrame = std::move(dialog);
    }
    m_copyPlayerFrame->fill(m_currentProduct, source);
    showOverlay(true);
    m_copyPlayerFrame->show(m_window);
    if (m_services.showDialog) m_services.showDialog(m_copyPlayerFrame->window(), KVCopyPlayerFrame::kClassName);
}

// A running instance cannot be copied. The copies must fit the line's volume at the source's size; a size
// the list has not walked yet is walked first, off this thread.
void KVMultiMainFrame::onCopyConfirmed(std::int32_t source, int count) {
    const model::InstanceRecord* record = m_model.findRecord(source);
    if (!record) {
        KVLOG(L"copy source %d is gone", source);
        return;
    }
    if (record->status == model::kStatusRunning || record->status == model::kStatusWindowWithoutMutex)
        return notice(lookUpWithFallback(L"multi_copy_error1"));
    if (const auto known = m_diskSizes.find(source); known != m_diskSizes.end())
        return copyIfItFits(source, count, known->second);
    int index = 0;
    const std::filesystem::path folder = m_model.playersOf(source, index).instanceFolder(index);
    m_walks.run([folder, source, count, self = std::weak_ptr<KVMultiMainFrame*>(m_self)] {
        const std::uint64_t bytes = common::files::folderBytes(folder);
        common::dispatch::postToUiThread([self, source, count, bytes] {
            if (const auto frame = self.lock()) (*frame)->copyIfItFits(source, count, bytes);
        });
    });
}

void KVMultiMainFrame::copyIfItFits(std::int32_t source, int count, std::uint64_t sourceBytes) {
    m_diskSizes[source] = sourceBytes;
    const std::wstring& folder = m_model.installFolders()[static_cast<std::size_t>(product::productOfId(source))];
    const std::optional<std::uint64_t> free =
        folder.empty() || !m_services.freeDiskBytes ? std::nullopt : m_services.freeDiskBytes(folder);
    if (free && !countFits(count, sourceBytes, *free)) {
        constexpr std::uint64_t kMb = 1024 * 1024;
        KVLOG(L"copy refused: %d copies of %d need %llu bytes, %llu free", count, source,
              sourceBytes * static_cast<std::uint64_t>(count), *free);
        return notice(common::fmt::format(lookUpWithFallback(L"multiplay_copy_no_space"), count,
                                          (sourceBytes + kMb - 1) / kMb, *free / kMb));
    }
    startCopySeries(source, count);
}

void KVMultiMainFrame::checkDiskSpace(std::int32_t id) {
    const KV_PRODUCT_TYPE line = product::productOfId(id);
    const std::wstring& folder = m_model.installFolders()[static_cast<std::size_t>(line)];
    if (folder.empty() || !m_services.freeDiskBytes) return;
    const std::optional<std::uint64_t> free = m_services.freeDiskBytes(folder);
    if (!free) {
        KVLOG(L"free disk space of %s unknown", folder);
        return;
    }
    if (lowDiskSpace(*free)) warning(lookUpWithFallback(L"multiplay_insufficient_disk_space_notice"));
}

} // namespace mainui
