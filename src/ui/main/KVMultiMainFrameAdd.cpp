// The main window's side of adding instances: the add dialog, the create series it starts (one create at a
// time, the next started by the previous one's end) and the low-disk warning after a series.

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"
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
                    if (m_services.showTip) m_services.showTip(m_addPlayerFrame->mouseTip());
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

// The creates wait for the line's install. Until this window can download and install a line, the user is
// told that it has to be installed first; the series stays pending for the install to pick up.
void KVMultiMainFrame::onProductMissing(KV_PRODUCT_TYPE product, int count, const common::CloneSetting& setting) {
    m_pendingCount = count;
    m_pendingProduct = product;
    m_pendingSetting = setting;
    KVLOG(L"player %d not installed, %d creates wait", static_cast<int>(product), count);
    notice(lookUpWithFallback(L"multiplay_add_product_missing"));
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
