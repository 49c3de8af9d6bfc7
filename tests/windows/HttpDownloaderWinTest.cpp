// The WinINet client against a real server on 127.0.0.1, under Wine.
#include "platform/win32/net/HttpDownloader_win.h"

#include <gtest/gtest.h>

#include <set>

#include "support/HttpsTestServer.h"
#include "support/LeftoverCases.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

using testing_support::Behaviour;
using testing_support::patternBody;
using testing_support::readFile;
using testing_support::Resource;
using testing_support::writeFile;
using utility::CHttpDownloader;

namespace {

constexpr std::size_t kMiB = 1048576;

using Report = std::pair<std::uint64_t, std::uint64_t>;

struct RecordingSink : utility::IHttpDownloadSink {
    std::vector<Report> reports;
    std::size_t stopAfter = SIZE_MAX;
    bool onHttpProgress(std::uint64_t downloaded, std::uint64_t total) override {
        reports.emplace_back(downloaded, total);
        return reports.size() < stopAfter;
    }
};

class HttpDownloaderTest : public ::testing::Test {
protected:
    bool downloadFile(const std::string& path, bool resume) {
        return http.download2file(server.wideUrl(path), target().wstring(), &sink, resume);
    }
    std::filesystem::path target() const { return dir / "setup.exe"; }

    testing_support::TestHttpServer server;
    testing_support::TempDir dir;
    testing_support::LogCapture log;
    RecordingSink sink;
    CHttpDownloader http;
};

} // namespace

TEST_F(HttpDownloaderTest, MemoryDownloadReturnsTheBodyAndSendsTheListedHeaders) {
    server.serve("/info.json", Resource{"{\"products\":[]}"});
    std::string body;

    ASSERT_TRUE(http.download2mem(server.wideUrl("/info.json"), body));

    EXPECT_EQ(body, "{\"products\":[]}");
    const auto request = server.requests().at(0);
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.header("User-Agent"), "Mozilla/5.0 (Windows NT 6.1) AppleWebKit/537.36 (KHTML, like Gecko) "
                                            "Chrome/69.0.2228.0 Safari/537.36");
    EXPECT_EQ(request.header("Accept"), "*/*");
    EXPECT_EQ(request.header("Accept-Language"), "zh-CN");
    std::set<std::string> names;
    for (const auto& header : request.headers) {
        EXPECT_EQ(request.count(header.first), 1u) << header.first;
        names.insert(header.first);
    }
    // Besides the listed headers only what the HTTP stack itself must send.
    for (const char* own : {"Host", "Connection", "Cache-Control", "Pragma"}) names.erase(own);
    EXPECT_EQ(names, (std::set<std::string>{"Content-Type", "User-Agent", "Accept", "Accept-Language"}));
}

TEST_F(HttpDownloaderTest, ADocumentAboveOneMiBIsRefused) {
    server.serve("/info.json", Resource{std::string(kMiB + 1, 'x')});
    std::string body;

    EXPECT_FALSE(http.download2mem(server.wideUrl("/info.json"), body));
    EXPECT_LE(body.size(), kMiB);
}

TEST_F(HttpDownloaderTest, FileDownloadWritesTheBodyAndReportsProgressToTheCallersSink) {
    const std::string body = patternBody(3 * kMiB);
    server.serve("/setup.exe", Resource{body});

    ASSERT_TRUE(downloadFile("/setup.exe", false));

    EXPECT_TRUE(readFile(target()) == body);
    EXPECT_TRUE(server.requests().at(0).header("Range").empty());
    ASSERT_FALSE(sink.reports.empty());
    EXPECT_EQ(sink.reports.back(), (Report{body.size(), body.size()}));
}

TEST_F(HttpDownloaderTest, ACallersSinkThatSaysStopEndsTheDownloadAsFailed) {
    server.serve("/setup.exe", Resource{patternBody(3 * kMiB)});
    sink.stopAfter = 1;

    EXPECT_FALSE(downloadFile("/setup.exe", false));
    EXPECT_EQ(sink.reports.size(), 1u);
}

class HttpDownloaderLeftover : public HttpDownloaderTest,
                               public ::testing::WithParamInterface<testing_support::LeftoverCase> {};

TEST_P(HttpDownloaderLeftover, FileWithResume) {
    const auto& c = GetParam();
    testing_support::runLeftoverCase(
        c, server, target(), [this](const std::string& path) { return downloadFile(path, true); }, "");
    if (!c.served)
        EXPECT_TRUE(log.contains("utility::CHttpDownload2FileSink::onHttpHeader", L"onHttpErro status = 404"));
    else if (c.refused() || c.ranges == testing_support::Ranges::Ignore)
        return;
    else if (c.resumedFrom == 0)
        EXPECT_TRUE(log.contains("utility::CHttpDownloader::download2file", L"start size 0"));
    else
        EXPECT_EQ(sink.reports.back(), (Report{6 * kMiB, 6 * kMiB}));
}
INSTANTIATE_TEST_SUITE_P(Leftover, HttpDownloaderLeftover, ::testing::ValuesIn(testing_support::kLeftoverCases),
                         testing_support::leftoverCaseName);

TEST_F(HttpDownloaderTest, WithoutResumeALargeLeftoverIsReplacedByTheWholeBody) {
    const std::string body = patternBody(2 * kMiB);
    server.serve("/setup.exe", Resource{body});
    writeFile(target(), std::string(5 * kMiB, 'x'));

    ASSERT_TRUE(downloadFile("/setup.exe", false));

    EXPECT_TRUE(server.requests().at(0).header("Range").empty());
    EXPECT_TRUE(readFile(target()) == body);
}

TEST_F(HttpDownloaderTest, AConnectionClosedMidBodyFailsTheFileDownload) {
    server.serve("/setup.exe", Resource{patternBody(2 * kMiB), 200, Behaviour::CloseEarly});

    EXPECT_FALSE(downloadFile("/setup.exe", false));
}

TEST_F(HttpDownloaderTest, AStalledMemoryDownloadGivesUpAtItsTimeout) {
    server.serve("/info.json", Resource{"never sent", 200, Behaviour::Stall});
    http.setMemoryTimeouts({500, 500});
    std::string body;

    EXPECT_FALSE(http.download2mem(server.wideUrl("/info.json"), body));
    EXPECT_TRUE(body.empty());
}

TEST_F(HttpDownloaderTest, HttpsWithASelfSignedCertificateIsAccepted) {
    const auto https = testing_support::HttpsTestServer::fromEnvironment();
    if (!https.available) GTEST_SKIP() << "no HTTPS test server (run through ctest)";
    std::string body;

    ASSERT_TRUE(http.download2mem(https.helloWideUrl(), body));
    EXPECT_EQ(body, https.helloBody);
    ASSERT_TRUE(http.download2file(https.helloWideUrl(), (dir / "hello.txt").wstring(), nullptr, false));
    EXPECT_EQ(readFile(dir / "hello.txt"), https.helloBody);
}
