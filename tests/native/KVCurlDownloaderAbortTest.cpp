// The abort flag is process-wide and never cleared, so its test has a program of its own.
#include "core/net/KVCurlDownloader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/CurlEnvironment.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

using namespace std::chrono_literals;
using testing_support::Behaviour;
using testing_support::Resource;

namespace {

bool pollUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 20s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

} // namespace

TEST(KVCurlDownloaderAbort, StopsTheRunningFileDownloadAtItsNextWriteAndEveryLaterDownloadAtItsFirst) {
    constexpr std::size_t kGate = 256 * 1024;
    testing_support::TestHttpServer server;
    testing_support::TempDir dir;
    testing_support::LogCapture log;
    server.serve("/setup.exe", Resource{testing_support::patternBody(1048576), 200, Behaviour::Gated, kGate});
    server.serve("/later.exe", Resource{"later"});
    const KVCurlDownloader curl(KVCurlDownloader::Timing{.progressInterval = 0ms}); // every callback reports
    std::atomic<std::int64_t> downloaded{0};
    std::atomic<int> result{-1};

    std::thread worker([&] {
        result = curl.downloadFile(server.url("/setup.exe"), dir / "setup.exe", {},
                                   [&](int, std::int64_t done, std::int64_t) { downloaded = done; });
    });
    ASSERT_TRUE(pollUntil([&] { return downloaded.load() == static_cast<std::int64_t>(kGate); }));
    KVCurlDownloader::abort();
    server.releaseGate();
    worker.join();

    EXPECT_EQ(result.load(), 0);
    EXPECT_TRUE(KVCurlDownloader::aborted());
    EXPECT_EQ(std::filesystem::file_size(dir / "setup.exe"), kGate);

    EXPECT_FALSE(curl.downloadFile(server.url("/later.exe"), dir / "later.exe", {}, {}));
    EXPECT_EQ(server.requestCount(), 2u);
    EXPECT_EQ(std::filesystem::file_size(dir / "later.exe"), 0u);
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadFile",
                             L"download error Failed writing received data to disk/application"));
}
