#include "core/files/FileRoutines.h"
#include "core/files/Files.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using testing_support::LogCapture;
using testing_support::TempDir;
using namespace utility::ufile;

namespace {

struct Recorder {
    std::vector<int> percents;
    std::uint64_t now = 0;
    CopyProgress progress(int base, float weight, std::uint64_t step) {
        return {[this](int p, int index) {
                    EXPECT_EQ(index, 7);
                    percents.push_back(p);
                },
                7, base, weight, [this, step] { return now += step; }};
    }
};

} // namespace

TEST(FileUtils, StreamCopyReportsAtMostOnceASecondAndNeverReaches100) {
    TempDir dir;
    testing_support::writeDiskImage(dir / "src", "disk", 3 * kCopyChunkBytes); // three chunks
    Recorder fast;
    ASSERT_TRUE(copyFileByStream(dir / "src", dir / "dst", fast.progress(20, 0.8f, 10)));
    EXPECT_EQ(fast.percents, (std::vector<int>{99})) << "under a second: only the closing report";
    Recorder slow;
    ASSERT_TRUE(copyFileByStream(dir / "src", dir / "dst", slow.progress(20, 0.8f, 1001)));
    EXPECT_EQ(slow.percents, (std::vector<int>{46, 72, 99, 99}));
    EXPECT_EQ(std::filesystem::file_size(dir / "dst"), 3 * kCopyChunkBytes);
    EXPECT_EQ(testing_support::headOf(dir / "dst"), "disk");
}

TEST(FileUtils, StreamCopyAsksBeforeEachChunkWhetherToStop) {
    TempDir dir;
    testing_support::writeDiskImage(dir / "src", "disk", 3 * kCopyChunkBytes);
    int asked = 0;
    CopyProgress progress;
    progress.stopRequested = [&] { return ++asked == 2; };
    LogCapture log;
    EXPECT_FALSE(copyFileByStream(dir / "src", dir / "dst", progress));
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(std::filesystem::file_size(dir / "dst"), kCopyChunkBytes) << "the caller removes what was copied";
    EXPECT_TRUE(log.containsPart(L"copy stopped at 16777216 of 50331648"));
}

TEST(FileUtils, StreamCopyOfAnEmptyFileReportsOnceAndTruncatesTheTarget) {
    TempDir dir;
    testing_support::writeFile(dir / "empty", "");
    testing_support::writeFile(dir / "dst", "old content");
    Recorder r;
    ASSERT_TRUE(copyFileByStream(dir / "empty", dir / "dst", r.progress(0, 0.5f, 5000)));
    EXPECT_EQ(r.percents, (std::vector<int>{50}));
    EXPECT_EQ(std::filesystem::file_size(dir / "dst"), 0u);
    EXPECT_EQ(progressPercent(0, 0, 50, 0.5f), 99);
}

TEST(FileUtils, StreamCopyTakesUnicodePathsAndLogsOpenErrors) {
    TempDir dir;
    const auto src = dir / u8"\u5b89\u5353 disk \u00e9.vmdk";
    testing_support::writeFile(src, "bytes");
    EXPECT_TRUE(copyFileByStream(src, dir / u8"\u526f\u672c.vmdk"));
    EXPECT_EQ(testing_support::readFile(dir / u8"\u526f\u672c.vmdk"), "bytes");
    LogCapture log;
    EXPECT_FALSE(copyFileByStream(dir / "missing", dir / "x"));
    EXPECT_TRUE(log.containsPart(L"open src error"));
    EXPECT_FALSE(copyFileByStream(src, dir / "no" / "folder" / "x"));
    EXPECT_TRUE(log.containsPart(L"open dest error"));
}

TEST(FileUtils, FolderRoutinesCreateCopyAndRemove) {
    TempDir dir;
    EXPECT_TRUE(makeDir(dir / "a" / "b"));
    EXPECT_TRUE(makeDir(dir / "a" / "b")) << "an existing folder is success";
    testing_support::writeFile(dir / "a" / "b" / "f", "1");
    testing_support::writeFile(dir / "a" / "g", "2");
    LogCapture log;
    EXPECT_FALSE(makeDir(dir / "a" / "g" / "h")) << "a file stands in the way";
    EXPECT_TRUE(log.containsPart(L"make dir failed! error = "));

    EXPECT_TRUE(copyFile(dir / "a" / "g", dir / "copy", true));
    EXPECT_FALSE(copyFile(dir / "a" / "b" / "f", dir / "copy", true)) << "fail if exists";
    EXPECT_EQ(testing_support::readFile(dir / "copy"), "2");
    EXPECT_TRUE(copyFile(dir / "a" / "b" / "f", dir / "copy", false));
    EXPECT_EQ(testing_support::readFile(dir / "copy"), "1");

    EXPECT_TRUE(common::files::copy_overwrite(dir / "copy", dir / "new" / "chain" / "c"));
    EXPECT_TRUE(common::files::fileExists(dir / "new" / "chain" / "c"));
    EXPECT_FALSE(common::files::copy_overwrite(dir / "missing", dir / "c2"));
    EXPECT_TRUE(log.containsPart(L"lassterror"));

    EXPECT_TRUE(removeDir(dir / "a"));
    EXPECT_FALSE(common::files::fileExists(dir / "a"));
    EXPECT_TRUE(removeFile(dir / "copy"));
    EXPECT_FALSE(removeFile(dir / "copy"));
}

TEST(FileUtils, ReplacingCopyLeavesTheTargetAloneWhenTheSourceFails) {
    TempDir dir;
    testing_support::writeFile(dir / "target", "precious");
    EXPECT_FALSE(common::files::copyReplacing(dir / "missing", dir / "target"));
    EXPECT_EQ(testing_support::readFile(dir / "target"), "precious");
    testing_support::writeFile(dir / "source", "new");
    EXPECT_TRUE(common::files::copyReplacing(dir / "source", dir / "target"));
    EXPECT_EQ(testing_support::readFile(dir / "target"), "new");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "no temporary file left";
}
