#include "core/log/LogFileWriter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/TempDir.h"

using common::LogFileWriter;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto limit = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

TEST(LogFileWriter, FileStartingWithAUtf16MarkIsEmptiedOtherFilesAreAppendedTo) {
    TempDir dir;
    writeFile(dir / "old.log", std::string("\xFF\xFE"
                                           "o\0l\0d\0",
                                           8));
    writeFile(dir / "kept.log", "kept\r\n");
    {
        LogFileWriter bomFile(dir / "old.log");
        LogFileWriter plainFile(dir / "kept.log");
        bomFile.enqueue("new\r\n");
        plainFile.enqueue("new\r\n");
    }
    EXPECT_EQ(readFile(dir / "old.log"), "new\r\n");
    EXPECT_EQ(readFile(dir / "kept.log"), "kept\r\nnew\r\n");
}

// A megabyte in lines of every length (one far longer than the queue's chunks), all still queued at the end.
TEST(LogFileWriter, TextQueuedJustBeforeDestructionIsWrittenInOrder) {
    TempDir dir;
    std::string expected;
    {
        LogFileWriter writer(dir / "a.log", {.wakeBytes = 1 << 30, .wakeInterval = std::chrono::hours(1)});
        for (int i = 0; i < 20000; ++i) {
            const std::string line =
                "line " + std::to_string(i) + std::string(i == 5000 ? 200000 : i % 97, 'x') + "\r\n";
            writer.enqueue(line);
            expected += line;
        }
    }
    EXPECT_EQ(readFile(dir / "a.log"), expected);
}

TEST(LogFileWriter, QueueReachingTheThresholdWakesTheWriterAtOnce) {
    TempDir dir;
    LogFileWriter writer(dir / "a.log", {.wakeBytes = 100, .wakeInterval = std::chrono::hours(1)});
    writer.enqueue(std::string(50, 'a'));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(readFile(dir / "a.log"), "") << "below the threshold the writer waits for its interval";
    writer.enqueue(std::string(50, 'b'));
    EXPECT_TRUE(waitFor([&] { return readFile(dir / "a.log").size() == 100; }));
}

TEST(LogFileWriter, WriterWakesByItselfAfterItsInterval) {
    TempDir dir;
    LogFileWriter writer(dir / "a.log", {.wakeBytes = 1 << 30, .wakeInterval = std::chrono::milliseconds(20)});
    writer.enqueue("x\r\n");
    EXPECT_TRUE(waitFor([&] { return readFile(dir / "a.log") == "x\r\n"; }));
}

TEST(LogFileWriter, FileReachingTheCapKeepsExactlyItsLastPartThenAppends) {
    TempDir dir;
    std::string before;
    for (int i = 0; i < 90; ++i) before += "0123456789"; // 900 bytes
    writeFile(dir / "a.log", before);
    std::string added(200, 'z');
    added[0] = 'A';
    {
        LogFileWriter writer(dir / "a.log", {.wakeBytes = 1, .capBytes = 1000, .keepBytes = 300});
        writer.enqueue(added);
        ASSERT_TRUE(waitFor([&] { return readFile(dir / "a.log").size() == 300; }));
        writer.enqueue("tail");
    }
    const std::string all = before + added;
    EXPECT_EQ(readFile(dir / "a.log"), all.substr(all.size() - 300) + "tail");
}

TEST(LogFileWriter, UnopenableFileLosesLinesQuietly) {
    TempDir dir;
    LogFileWriter writer(dir / "missing-folder" / "a.log");
    writer.enqueue("lost\r\n");
    writer.wake();
    SUCCEED();
}
