// Runs natively and, compiled by the Windows build, under Wine against the Schannel libcurl.
#include "core/net/KVCurlDownloader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

#include "support/CurlEnvironment.h"
#include "support/HttpsTestServer.h"
#include "support/LeftoverCases.h"
#include "support/LogCapture.h"
#include "support/Poll.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

using namespace std::chrono_literals;
using testing_support::Behaviour;
using testing_support::patternBody;
using testing_support::readFile;
using testing_support::Resource;
using testing_support::writeFile;

namespace {

constexpr std::size_t kMiB = 1048576;
const char* const kUserAgent = "Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
                               "Chrome/69.0.2228.0 Safari/537.36";

std::set<std::string> headerNames(const testing_support::RecordedRequest& request) {
    std::set<std::string> names;
    for (const auto& header : request.headers) names.insert(header.first);
    return names;
}

struct Report {
    int percent;
    std::int64_t downloaded;
    std::int64_t total;
};

class KVCurlDownloaderTest : public ::testing::Test {
protected:
    bool downloadFile(const std::string& path, const std::string& file, std::vector<std::string> extra = {}) {
        return curl.downloadFile(server.url(path), dir / file, extra,
                                 [this](int percent, std::int64_t downloaded, std::int64_t total) {
                                     reports.push_back({percent, downloaded, total});
                                 });
    }

    testing_support::TestHttpServer server;
    testing_support::TempDir dir;
    testing_support::LogCapture log;
    std::vector<Report> reports;
    KVCurlDownloader curl;
};

} // namespace

TEST_F(KVCurlDownloaderTest, MemoryDownloadReturnsTheBodyAndSendsOnlyTheListedHeaders) {
    server.serve("/info.json", Resource{"{\"products\":[]}"});
    std::string body;

    ASSERT_TRUE(curl.downloadMemory(server.url("/info.json"), body));

    EXPECT_EQ(body, "{\"products\":[]}");
    const auto request = server.requests().at(0);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.header("User-Agent"), kUserAgent);
    EXPECT_EQ(request.count("User-Agent"), 1u);
    EXPECT_EQ(headerNames(request), (std::set<std::string>{"Host", "Accept", "Content-Type", "User-Agent"}));
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadMemory", L"KVCurlDownloader::downloadMemory start"));
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadMemory", L"curl download sucess 15"));
}

// How often progress is reported is DownloadProgress's rule, tested with a manual clock.
TEST_F(KVCurlDownloaderTest, FileDownloadSendsTheCallersHeadersAndReportsProgressBelowHundred) {
    const std::string body = patternBody(2 * kMiB);
    server.serve("/setup.exe", Resource{body});

    ASSERT_TRUE(downloadFile("/setup.exe", "setup.exe", {"X-Channel: kv"}));

    EXPECT_EQ(readFile(dir / "setup.exe"), body);
    const auto request = server.requests().at(0);
    EXPECT_EQ(request.header("Range"), "bytes=0-");
    EXPECT_EQ(request.header("X-Channel"), "kv");
    EXPECT_EQ(headerNames(request),
              (std::set<std::string>{"Host", "Range", "Accept", "Content-Type", "User-Agent", "X-Channel"}));
    ASSERT_FALSE(reports.empty());
    for (const Report& report : reports) {
        EXPECT_LE(report.percent, 99);
        EXPECT_EQ(report.total, static_cast<std::int64_t>(body.size()));
    }
    EXPECT_TRUE(
        log.contains("KVCurlDownloader::downloadFile", L"curl download sucess " + (dir / "setup.exe").wstring()));
}

TEST_F(KVCurlDownloaderTest, ALeftoverOfThreeMiBIsDeletedAndFetchedFromZero) {
    const std::string body = patternBody(6 * kMiB);
    server.serve("/setup.exe", Resource{body});
    writeFile(dir / "setup.exe", std::string(3 * kMiB, 'x'));

    ASSERT_TRUE(downloadFile("/setup.exe", "setup.exe"));

    EXPECT_EQ(server.requests().at(0).header("Range"), "bytes=0-");
    EXPECT_TRUE(readFile(dir / "setup.exe") == body);
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadFile", L"cache size 3145728"));
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadFile", L"too small"));
}

class KVCurlLeftover : public KVCurlDownloaderTest,
                       public ::testing::WithParamInterface<testing_support::LeftoverCase> {};

TEST_P(KVCurlLeftover, File) {
    const auto& c = GetParam();
    testing_support::runLeftoverCase(
        c, server, dir / "setup.exe", [this](const std::string& path) { return downloadFile(path, "setup.exe"); },
        "bytes=0-");
    EXPECT_EQ(log.countExact("KVCurlDownloader::downloadFile", L"http error : 404"), c.served ? 0 : 1);
    if (c.ranges != testing_support::Ranges::Honour) return;
    for (const Report& report : reports) // progress counts the resumed part too
        EXPECT_GE(report.downloaded, static_cast<std::int64_t>(c.resumedFrom));
}
INSTANTIATE_TEST_SUITE_P(Leftover, KVCurlLeftover, ::testing::ValuesIn(testing_support::kLeftoverCases),
                         testing_support::leftoverCaseName);

TEST_F(KVCurlDownloaderTest, AConnectionClosedMidBodyFailsAndTheNextAttemptResumesTheLeftover) {
    const std::string body = patternBody(10 * kMiB);
    server.serve("/setup.exe", Resource{body, 200, Behaviour::CloseEarly});

    EXPECT_FALSE(downloadFile("/setup.exe", "setup.exe"));
    EXPECT_EQ(std::filesystem::file_size(dir / "setup.exe"), 5 * kMiB);

    server.serve("/setup.exe", Resource{body});
    ASSERT_TRUE(downloadFile("/setup.exe", "setup.exe"));
    EXPECT_EQ(server.requests().at(1).header("Range"), "bytes=5242880-");
    EXPECT_TRUE(readFile(dir / "setup.exe") == body);
}

TEST_F(KVCurlDownloaderTest, AStalledMemoryDownloadGivesUpAtItsTimeout) {
    server.serve("/info.json", Resource{"never sent", 200, Behaviour::Stall});
    const KVCurlDownloader quick(KVCurlDownloader::Timing{.memoryTimeout = 300ms, .memoryConnectTimeout = 300ms});
    std::string body = "untouched";

    EXPECT_FALSE(quick.downloadMemory(server.url("/info.json"), body));
    EXPECT_EQ(body, "untouched");
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadMemory", L"curl download error Timeout was reached"));
}

TEST_F(KVCurlDownloaderTest, ADocumentAboveOneMiBIsRefused) {
    server.serve("/info.json", Resource{std::string(KVCurlDownloader::kMaxMemoryBytes + 1, 'x')});
    std::string body = "untouched";

    EXPECT_FALSE(curl.downloadMemory(server.url("/info.json"), body));
    EXPECT_EQ(body, "untouched");
}

TEST_F(KVCurlDownloaderTest, AFileDownloadThatReceivesNothingGivesUpAfterItsStallTime) {
    server.serve("/setup.exe", Resource{"never sent", 200, Behaviour::Stall});
    const KVCurlDownloader quick(KVCurlDownloader::Timing{.stallTimeout = 1s});

    EXPECT_FALSE(quick.downloadFile(server.url("/setup.exe"), dir / "setup.exe", {}, {}));
    EXPECT_TRUE(log.contains("KVCurlDownloader::downloadFile", L"download error Timeout was reached"));
}

// Shutdown cleans libcurl up after the download thread was told to stop; a transfer still running then
// must end before the library goes.
TEST_F(KVCurlDownloaderTest, GlobalCleanupWaitsForTheRunningTransfer) {
    constexpr std::size_t kGate = 64 * 1024;
    server.serve("/setup.exe", Resource{patternBody(kMiB), 200, Behaviour::Gated, kGate});
    const KVCurlDownloader eager(KVCurlDownloader::Timing{.progressInterval = 0ms});
    std::atomic<std::int64_t> downloaded{0};
    std::atomic<int> result{-1};
    std::thread worker([&] {
        result = eager.downloadFile(server.url("/setup.exe"), dir / "setup.exe", {},
                                    [&](int, std::int64_t done, std::int64_t) { downloaded = done; });
    });
    ASSERT_TRUE(testing_support::pollUntil([&] { return downloaded.load() == static_cast<std::int64_t>(kGate); }));

    std::uintmax_t sizeWhenCleaned = 0;
    std::thread closer([&] {
        KVCurlDownloader::globalCleanup();
        sizeWhenCleaned = std::filesystem::file_size(dir / "setup.exe");
    });
    server.releaseGate();
    closer.join();
    worker.join();

    EXPECT_EQ(result.load(), 1);
    EXPECT_EQ(sizeWhenCleaned, kMiB) << "the clean-up returned before the transfer ended";
    ASSERT_TRUE(KVCurlDownloader::globalInit()); // for the tests that follow
}

// Natively a verifying libcurl fails here. Under Wine, Schannel does not check server certificates at all,
// so only the native run (and the WinINet test) guards the certificate policy.
TEST_F(KVCurlDownloaderTest, HttpsWithASelfSignedCertificateIsAccepted) {
    const auto https = testing_support::HttpsTestServer::fromEnvironment();
    if (!https.available) GTEST_SKIP() << "no HTTPS test server (run through ctest)";
    std::string body;

    ASSERT_TRUE(curl.downloadMemory(https.helloUrl(), body));
    EXPECT_EQ(body, https.helloBody);
    ASSERT_TRUE(curl.downloadFile(https.helloUrl(), dir / "hello.txt", {}, {}));
    EXPECT_EQ(readFile(dir / "hello.txt"), https.helloBody);
}
