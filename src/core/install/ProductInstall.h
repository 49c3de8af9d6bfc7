#pragma once
// Downloading a product line's installer and running it, off the user-interface thread.
//
// The download thread fetches the download-information document (two attempts, libcurl then WinINet each),
// downloads the installer into "<installer>.tmp" beside the program (libcurl, then WinINet from zero),
// checks its digest when the document names one, and moves it to its final name. Running the installer is
// a second background job, started by the window once it knows no instance runs.
//
// The install state (0 idle, 1 downloading, 2 installing, 3 downloaded but waiting for instances to close)
// is the window's: it follows the reports, which arrive on the worker threads and are posted to the window's
// thread. A stop request (flag and event) is checked between the steps; a stopped thread reports nothing.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/install/InstallTransfers.h"
#include "core/product/ProductLine.h"

namespace install {

enum InstallState : int { kIdle = 0, kDownloading = 1, kInstalling = 2, kWaitingForInstances = 3 };

struct InstallReports {
    std::function<void(int percent)> progress;
    std::function<void()> downloadFailed;                         // the row offers a retry
    std::function<void(const std::filesystem::path&)> downloaded; // the installer is ready to run
    std::function<void(bool succeeded)> installEnded;
};

using Clock = std::function<std::chrono::steady_clock::time_point()>;

// At most one WinINet progress report per interval; the last one (all bytes) always; none without a total.
class ProgressPacer {
public:
    explicit ProgressPacer(Clock clock, std::chrono::milliseconds interval = std::chrono::milliseconds(1000))
        : m_clock(std::move(clock)), m_interval(interval) {}
    // The percent to show, or -1 for no report now.
    int next(std::uint64_t downloaded, std::uint64_t total);

private:
    Clock m_clock;
    std::chrono::milliseconds m_interval;
    bool m_reported = false;
    std::chrono::steady_clock::time_point m_last{};
};

class ProductInstall {
public:
    ProductInstall(std::shared_ptr<InstallTransfers> transfers, std::filesystem::path programFolder,
                   InstallReports reports, Clock clock = {});
    // Tells the threads to stop and waits a little; a thread still blocked in a transfer or an installer is
    // left to end on its own (it holds nothing of this object).
    ~ProductInstall();
    ProductInstall(const ProductInstall&) = delete;
    ProductInstall& operator=(const ProductInstall&) = delete;

    // Waits up to `previous` for an earlier download thread, then starts `threadDownloadPlayer`.
    void startDownload(KV_PRODUCT_TYPE product, std::chrono::milliseconds previous = std::chrono::milliseconds(2000));
    // Stop flag and event (and libcurl's abort); waits up to `wait` for the download thread.
    void stopDownload(std::chrono::milliseconds wait);
    // The installer runs in the background (its digest checked again first when one is known);
    // `installEnded` reports the result.
    void startInstaller(const std::filesystem::path& installer);
    // Whether the download thread ended (tests).
    bool waitForDownload(std::chrono::milliseconds wait);
    bool waitForInstaller(std::chrono::milliseconds wait);

    // The download thread's body, run on the caller's thread (tests drive it step by step).
    struct Run;
    void threadDownloadPlayer(KV_PRODUCT_TYPE product, Run& run);

private:
    struct Shared;
    // The bodies hold the shared part only, never this object: a thread may outlive it.
    static void downloadBody(const std::shared_ptr<Shared>& shared, const std::filesystem::path& programFolder,
                             KV_PRODUCT_TYPE product, Run& run);
    struct Shared {
        std::shared_ptr<InstallTransfers> transfers;
        InstallReports reports;
        Clock clock;
        std::mutex digestLock;
        std::string expectedDigest; // of the installer downloaded last; empty when the document named none
    };
    static bool verifyDigest(Shared& shared, const std::filesystem::path& file);
    static void runInstaller(const std::shared_ptr<Shared>& shared, const std::filesystem::path& installer);
    // Waits up to `wait` for the job's end; a job still running then is left to end on its own.
    static void retire(std::shared_ptr<Run>& run, std::thread& thread, std::chrono::milliseconds wait);

    std::shared_ptr<Shared> m_shared;
    std::filesystem::path m_programFolder;
    std::shared_ptr<Run> m_download;
    std::thread m_downloadThread;
    std::shared_ptr<Run> m_install;
    std::thread m_installThread;
};

// One run of a background job: its stop request and its end.
struct ProductInstall::Run {
    std::atomic<bool> stop{false};
    std::mutex lock;
    std::condition_variable changed;
    bool finished = false;

    void requestStop();
    // Sleeps up to `time` or until a stop request; true when stop was requested.
    bool sleepUnlessStopped(std::chrono::milliseconds time);
    void finish();
    bool waitFinished(std::chrono::milliseconds wait);
};

} // namespace install
