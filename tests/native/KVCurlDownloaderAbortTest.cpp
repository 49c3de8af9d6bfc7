// The abort flag is process-wide and never cleared, so its test has a program of its own.
#include "core/net/KVCurlDownloader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/CurlEnvironment.h"
#include "support/LogCapture.h"
#include "support/Poll.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

using namespace std::chrono_literals;
using testing_support::Behaviour;
using testing_support::Resource;

using testing_support::pollUntil;

TEST(KVCurlDownloaderAbort, StopsTheRunningFileDownloadsAndEveryLaterDownloadAtItsFirstWrite) {
    constexpr std::size_t kGate = 256 * 1024;
    testing_support::TestHttpServer server;
    testing_support::TempDir dir;
    testing_support::LogCapture log;
    server.serve("/setup.exe", Resource{testing_support::patternBody(1048576), 200, Behaviour::Gated, kGate});
    server.serve("/stalled.exe", Resource{"never sent", 200, Behaviour::Stall});
    server.serve("/later.exe", Resource{"later"});
    const KVCurlDownloader curl(KVCurlDownloader::Timing{.progressInterval = 0ms}); // every callback reports
    std::atomic<std::int64_t> downloaded{0};
    std::atomic<int> result{-1}, stalledResult{-1};

    std::thread worker([&] {
        result = curl.downloadFile(server.url("/setup.exe"), dir / "setup.exe", {},
                                   [&](int, std::int64_t done, std::int64_t) { downloaded = done; });
    });
    // A server that never answers gives no write to stop at: the progress tick stops that one.
    std::thread waiting([&] { stalledResult = curl.downloadFile(server.url("/stalled.exe"), dir / "s.exe", {}, {}); });
    ASSERT_TRUE(pollUntil([&] { return downloaded.load() == static_cast<std::int64_t>(kGate); }));
    ASSERT_TRUE(pollUntil([&] { return server.requestCount() == 2; }));
    KVCurlDownloader::abort();
    server.releaseGate();
    worker.join();
    waiting.join();

    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(stalledResult.load(), 0);
    EXPECT_TRUE(KVCurlDownloader::aborted());
    EXPECT_EQ(std::filesystem::file_size(dir / "setup.exe"), kGate);

    EXPECT_FALSE(curl.downloadFile(server.url("/later.exe"), dir / "later.exe", {}, {}));
    EXPECT_EQ(server.requestCount(), 3u);
    EXPECT_EQ(std::filesystem::file_size(dir / "later.exe"), 0u);
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadFile",
                             L"download error Failed writing received data to disk/application"));
}
