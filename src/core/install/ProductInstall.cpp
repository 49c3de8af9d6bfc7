#include "core/install/ProductInstall.h"

#include <system_error>

#include "core/install/InstallPackages.h"
#include "core/install/Sha256.h"
#include "core/log/Log.h"
#include "core/text/Utf.h"

namespace install {
namespace {

constexpr const char* kThreadLog = "KVMultiMainFrame::threadDownloadPlayer";
constexpr int kDocumentAttempts = 2;

std::wstring wide(const std::string& text) {
    return common::text::fromUtf8(text);
}

void removeQuietly(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

} // namespace

// ---- progress pacing ----

int ProgressPacer::next(std::uint64_t downloaded, std::uint64_t total) {
    if (total == 0) return -1;
    const auto now = m_clock ? m_clock() : std::chrono::steady_clock::now();
    const bool last = downloaded >= total;
    if (!last && m_reported && now - m_last < m_interval) return -1;
    m_reported = true;
    m_last = now;
    return static_cast<int>(std::min(downloaded, total) * 100 / total);
}

// ---- one run ----

void ProductInstall::Run::requestStop() {
    stop = true;
    const std::lock_guard hold(lock);
    changed.notify_all();
}

bool ProductInstall::Run::sleepUnlessStopped(std::chrono::milliseconds time) {
    std::unique_lock hold(lock);
    changed.wait_for(hold, time, [this] { return stop.load(); });
    return stop.load();
}

void ProductInstall::Run::finish() {
    const std::lock_guard hold(lock);
    finished = true;
    changed.notify_all();
}

bool ProductInstall::Run::waitFinished(std::chrono::milliseconds wait) {
    std::unique_lock hold(lock);
    return changed.wait_for(hold, wait, [this] { return finished; });
}

// ---- the object ----

ProductInstall::ProductInstall(std::shared_ptr<InstallTransfers> transfers, std::filesystem::path programFolder,
                               InstallReports reports, Clock clock)
    : m_shared(std::make_shared<Shared>()), m_programFolder(std::move(programFolder)) {
    m_shared->transfers = std::move(transfers);
    m_shared->reports = std::move(reports);
    m_shared->clock = std::move(clock);
}

ProductInstall::~ProductInstall() {
    if (m_download) m_download->requestStop();
    if (m_download && !m_download->waitFinished(std::chrono::milliseconds(0)) && m_shared->transfers)
        m_shared->transfers->abortCurl();
    retire(m_download, m_downloadThread, std::chrono::milliseconds(2000));
    retire(m_install, m_installThread, std::chrono::milliseconds(0)); // an installer is never cut short
}

void ProductInstall::retire(std::shared_ptr<Run>& run, std::thread& thread, std::chrono::milliseconds wait) {
    if (!thread.joinable()) return;
    if (run->waitFinished(wait)) {
        thread.join();
    } else {
        KVLOG_AS("ProductInstall::retire", L"a background job still runs; it ends on its own");
        thread.detach();
    }
    run.reset();
}

void ProductInstall::startDownload(KV_PRODUCT_TYPE product, std::chrono::milliseconds previous) {
    retire(m_download, m_downloadThread, previous);
    m_download = std::make_shared<Run>();
    m_downloadThread = std::thread([shared = m_shared, folder = m_programFolder, product, run = m_download] {
        downloadBody(shared, folder, product, *run);
        run->finish();
    });
}

void ProductInstall::stopDownload(std::chrono::milliseconds wait) {
    if (!m_download) return;
    m_download->requestStop();
    if (m_shared->transfers) m_shared->transfers->abortCurl();
    retire(m_download, m_downloadThread, wait);
}

bool ProductInstall::waitForDownload(std::chrono::milliseconds wait) {
    return !m_download || m_download->waitFinished(wait);
}

bool ProductInstall::waitForInstaller(std::chrono::milliseconds wait) {
    return !m_install || m_install->waitFinished(wait);
}

void ProductInstall::threadDownloadPlayer(KV_PRODUCT_TYPE product, Run& run) {
    downloadBody(m_shared, m_programFolder, product, run);
}

// A stop request ends the thread where it is checked; the window has already gone back to state 0 and
// forgotten the row, so nothing more is reported.
void ProductInstall::downloadBody(const std::shared_ptr<Shared>& shared, const std::filesystem::path& programFolder,
                                  KV_PRODUCT_TYPE product, Run& run) {
    InstallTransfers& net = *shared->transfers;
    const InstallReports& reports = shared->reports;
    KVLOG_AS(kThreadLog, L"start download player %d", static_cast<int>(product));

    const Servers servers = loadServers(programFolder / kServersFile);
    KVLOG_AS(kThreadLog, L"servers: resource %s download %s", wide(servers.resource), wide(servers.download));
    const std::string documentUrl = servers.resource + std::string(kDocumentPath);
    std::string document;
    bool fetched = false;
    for (int attempt = 0; attempt < kDocumentAttempts && !fetched; ++attempt) {
        document.clear();
        fetched = net.curlDocument(documentUrl, document);
        if (!fetched) {
            document.clear();
            fetched = net.wininetDocument(documentUrl, document);
        }
        if (!fetched && run.sleepUnlessStopped(std::chrono::milliseconds(100))) return;
    }
    if (!fetched) document.clear();
    const PackageChoice package = choosePackage(document, product, servers);
    if (run.stop) return;
    KVLOG_AS(kThreadLog, L"download url %s", wide(package.url));
    {
        const std::lock_guard hold(shared->digestLock);
        shared->expectedDigest = package.sha256;
    }

    const std::filesystem::path finalPath = programFolder / packageInfo(product).installerFile;
    std::filesystem::path temporary = finalPath;
    temporary += L".tmp";
    removeQuietly(temporary);
    bool ok = net.curlFile(package.url, temporary, [&reports](int percent) {
        if (reports.progress) reports.progress(percent);
    });
    if (run.stop) return;
    if (!ok) {
        KVLOG_AS(kThreadLog, L"download by ie");
        ProgressPacer pacer(shared->clock);
        ok = net.wininetFile(package.url, temporary, [&](std::uint64_t downloaded, std::uint64_t total) {
            if (const int percent = pacer.next(downloaded, total); percent >= 0 && reports.progress)
                reports.progress(percent);
            return true; // the sink always lets the transfer go on; a stop is checked when the step ends
        });
        if (run.stop) return;
    }
    if (ok && !verifyDigest(*shared, temporary)) {
        removeQuietly(temporary);
        ok = false;
    }
    if (!ok) {
        KVLOG_AS(kThreadLog, L"download error");
        if (reports.downloadFailed) reports.downloadFailed();
        return;
    }
    std::error_code error;
    std::filesystem::remove(finalPath, error);
    std::filesystem::copy_file(temporary, finalPath, std::filesystem::copy_options::overwrite_existing, error);
    if (error) {
        KVLOG_AS(kThreadLog, L"installer not saved as %s: %s", finalPath.wstring(), wide(error.message()));
        if (reports.downloadFailed) reports.downloadFailed();
        return;
    }
    removeQuietly(temporary);
    net.logSignature(finalPath);
    if (reports.downloaded) reports.downloaded(finalPath);
}

bool ProductInstall::verifyDigest(Shared& shared, const std::filesystem::path& file) {
    std::string expected;
    {
        const std::lock_guard hold(shared.digestLock);
        expected = shared.expectedDigest;
    }
    if (expected.empty()) return true;
    const std::optional<std::string> actual = sha256OfFile(file);
    if (actual && *actual == expected) {
        KVLOG_AS(kThreadLog, L"installer sha256 matches %s", wide(expected));
        return true;
    }
    KVLOG_AS(kThreadLog, L"installer refused: sha256 %s, the download document names %s",
             wide(actual.value_or("unreadable")), wide(expected));
    return false;
}

void ProductInstall::startInstaller(const std::filesystem::path& installer) {
    retire(m_install, m_installThread, std::chrono::milliseconds(0));
    m_install = std::make_shared<Run>();
    m_installThread = std::thread([shared = m_shared, installer, run = m_install] {
        runInstaller(shared, installer);
        run->finish();
    });
}

void ProductInstall::runInstaller(const std::shared_ptr<Shared>& shared, const std::filesystem::path& installer) {
    bool ok = false;
    if (verifyDigest(*shared, installer)) {
        ok = shared->transfers->runInstaller(installer);
        KVLOG_AS(kThreadLog, L"install ret %d", ok ? 1 : 0);
    } else {
        removeQuietly(installer);
    }
    if (shared->reports.installEnded) shared->reports.installEnded(ok);
}

} // namespace install
