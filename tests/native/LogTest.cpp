#include "core/log/Log.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/log/LogFileWriter.h"
#include "support/TempDir.h"

using testing_support::readFile;
using testing_support::TempDir;

namespace {

struct Captured {
    std::string function;
    int line = 0;
    std::wstring message;
    int calls = 0;
};
Captured g_captured;

int capturingSink(std::string_view function, int line, std::wstring_view message) {
    g_captured.function = function;
    g_captured.line = line;
    g_captured.message = message;
    ++g_captured.calls;
    return 7;
}

class CapturedLog : public ::testing::Test {
protected:
    void SetUp() override {
        g_captured = {};
        common::setLogSink(&capturingSink);
    }
    void TearDown() override { common::removeLogSink(); }
};

} // namespace

namespace kvtest {
struct KVMultiModel {
    int launch(int index) { return KVLOG(L"launch %d", index); }
    template <class T>
    static int templated(T) {
        return KVLOG(L"t");
    }
};
} // namespace kvtest

TEST(Log, CallsWithoutASinkDoNothingAndReturnZero) {
    common::removeLogSink();
    EXPECT_EQ(KVLOG(L"dropped %d", 1), 0);
}

TEST_F(CapturedLog, SinkReceivesTheQualifiedFunctionNameLineAndFormattedMessage) {
    EXPECT_EQ(kvtest::KVMultiModel().launch(5), 7);
    EXPECT_EQ(g_captured.function, "kvtest::KVMultiModel::launch");
    EXPECT_GT(g_captured.line, 0);
    EXPECT_EQ(g_captured.message, L"launch 5");

    kvtest::KVMultiModel::templated(std::vector<int>{});
    EXPECT_EQ(g_captured.function, "kvtest::KVMultiModel::templated");

    KVLOG_AS("KVMultiModel::isOldUser", L"it is old user: %d", 1);
    EXPECT_EQ(g_captured.function, "KVMultiModel::isOldUser");
    EXPECT_EQ(g_captured.message, L"it is old user: 1");
}

TEST_F(CapturedLog, OverLongMessagesAreCutToTheBuffer) {
    const std::wstring huge(20000, L'x');
    KVLOG(L"%s", huge);
    EXPECT_EQ(g_captured.message.size(), common::kLogMessageChars - 1);
}

TEST(LogFile, LinesReachTheFileWithTheirHeaderOnlyAfterItIsOpened) {
    TempDir dir;
    common::installLogSink();
    KVLOG(L"before open");
    common::openLogFile(dir.path());
    common::openLogFile(dir.path()); // a second open does nothing
    KVLOG(L"player %s version %S last run %d", L"C:\\kv", "010502", 4);
    common::removeLogSink();
    KVLOG(L"after removal");
    common::closeLogFile();

    const std::string text = readFile(dir / "log" / "multis.log");
    EXPECT_EQ(text.find("before open"), std::string::npos);
    EXPECT_EQ(text.find("after removal"), std::string::npos);
    const std::regex line(R"(\d\d-\d\d\t\d\d:\d\d:\d\d\.\d{3}\t\d{4,}\t)"
                          R"(LogFile_LinesReachTheFileWithTheirHeaderOnlyAfterItIsOpened_Test::TestBody\t\(\d+\):)"
                          R"(player C:\\kv version 010502 last run 4\r\n)");
    EXPECT_TRUE(std::regex_match(text, line)) << text;
}

TEST(LogFile, ManyThreadsKeepEveryLineWholeCompleteAndInOrder) {
    TempDir dir;
    common::installLogSink();
    common::openLogFile(dir.path());
    constexpr int kThreads = 4;
    constexpr int kLines = 2000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i) KVLOG(L"thread %d line %d %s", t, i, std::wstring(i % 97, L'\u00E9'));
        });
    }
    for (auto& th : threads) th.join();
    common::removeLogSink();
    common::closeLogFile();

    std::istringstream in(readFile(dir / "log" / "multis.log"));
    std::vector<int> next(kThreads, 0); // each thread's lines come in the order it logged them
    const std::regex shape(R"(.*\(\d+\):thread (\d) line (\d+) (?:\xC3\xA9)*\r)");
    std::string line;
    while (std::getline(in, line)) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, shape)) << line;
        const int t = std::stoi(m[1]);
        ASSERT_EQ(std::stoi(m[2]), next.at(static_cast<std::size_t>(t))++) << line;
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kLines));
}
