#include "core/files/Archiver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace common::files;
using testing_support::TempDir;

TEST(Archiver, CommandLinesHaveTheArchiversExactShape) {
    const std::filesystem::path dir = "/opt/kv";
    EXPECT_EQ(packCommandLine(dir / "7za.exe", true, {"/i/data.vmdk", "/i/vantor.config"}, "/b/x.kvbk"),
              L"/opt/kv/7za.exe a -mx=1 -t7z -bsp2 \"/b/x.kvbk\"  -i!\"/i/data.vmdk\" -i!\"/i/vantor.config\"");
    EXPECT_EQ(packCommandLine(dir / "7za.exe", false, {"/i/data.vmdk"}, "/b/x.kvbk"),
              L"/opt/kv/7za.exe a -mx=0 -t7z -bsp2 \"/b/x.kvbk\"  -i!\"/i/data.vmdk\"");
    EXPECT_EQ(unpackCommandLine(dir / "7za.exe", "/b/x.kvbk", "/i/vantor3/"),
              L"/opt/kv/7za.exe e -bsp2 -y \"/b/x.kvbk\" -o\"/i/vantor3\"")
        << "a trailing separator would escape the closing quote";
    EXPECT_EQ(unpackCommandLine("/opt/my kv/7za.exe", "/b/x.kvbk", "/i"),
              L"\"/opt/my kv/7za.exe\" e -bsp2 -y \"/b/x.kvbk\" -o\"/i\"");
}

TEST(Archiver, PathsThatCouldBreakTheCommandLineAreRefusedWithALogLine) {
    testing_support::LogCapture log;
    EXPECT_TRUE(safeForCommandLine(u8"/b/my backups/\u5907\u4efd!1 %PATH%.kvbk"));
    for (const char* bad : {"/b/a\" -x\".kvbk", "/b/a\nb.kvbk", "/b/*.kvbk", "relative.kvbk", "-sdel", ""})
        EXPECT_FALSE(safeForCommandLine(bad)) << bad;
    EXPECT_FALSE(packCommandLine("/opt/7za.exe", false, {"/i/a\".vmdk"}, "/b/x.kvbk"));
    EXPECT_FALSE(unpackCommandLine("/opt/7za.exe", "/b/x.kvbk", "/i/\"x"));
    EXPECT_TRUE(log.containsPart(L"cannot be passed to the archiver safely"));
}

TEST(Archiver, ProgressScanTakesALeadingNumberBeforeAPercentSign) {
    EXPECT_EQ(scanProgress("  37%"), 0.37);
    EXPECT_EQ(scanProgress("100% 2 files"), 1.0);
    EXPECT_EQ(scanProgress("\r 5%\b\b\b"), 0.05);
    EXPECT_FALSE(scanProgress("\b\b\b\b 37%"));
    EXPECT_FALSE(scanProgress("Scanning 37%"));
    EXPECT_FALSE(scanProgress("  37"));
    EXPECT_FALSE(scanProgress("   "));
    EXPECT_FALSE(scanProgress("%"));
}

TEST(Archiver, EmptyListAndMissingArchiveFailWithoutRunningAnything) {
    TempDir dir;
    testing_support::LogCapture log;
    EXPECT_FALSE(archiveFiles(false, {}, dir / "x.kvbk", {}));
    EXPECT_TRUE(log.containsPart(L"zip files error 1"));
    EXPECT_FALSE(extractFiles(dir / "missing.kvbk", dir.path(), {}));
}

TEST(Archiver, MissingArchiverIsLoggedAsAFailedStart) {
    TempDir dir;
    testing_support::writeFile(dir / "f", "x");
    setArchiverProgram(dir / "no-7za");
    testing_support::LogCapture log;
    int exitCode = 0;
    EXPECT_FALSE(archiveFiles(false, {dir / "f"}, dir / "x.kvbk", {}, &exitCode));
    EXPECT_EQ(exitCode, -1);
    EXPECT_TRUE(log.containsPart(L"create progress error."));
    setArchiverProgram({});
}

TEST(Archiver, RealArchiverRoundTripsFilesFlatAndReportsProgress) {
    if (std::string(KV_7ZZ).find("NOTFOUND") != std::string::npos) GTEST_SKIP() << "7zz is not installed";
    setArchiverProgram(KV_7ZZ);
    TempDir dir;
    testing_support::writeFile(dir / "in put" / u8"d\u00e4ta!.vmdk", std::string(300000, 'd'));
    testing_support::writeFile(dir / "in put" / "vantor.config", "{}");
    std::filesystem::create_directories(dir / "out");
    std::vector<double> fractions;
    int exitCode = -1;
    ASSERT_TRUE(archiveFiles(
        true, {dir / "in put" / u8"d\u00e4ta!.vmdk", dir / "in put" / "vantor.config"}, dir / "out" / "a b.kvbk",
        [&](double f) { fractions.push_back(f); }, &exitCode));
    EXPECT_EQ(exitCode, 0);
    for (double f : fractions) EXPECT_TRUE(f >= 0.0 && f <= 1.0);
    ASSERT_TRUE(extractFiles(dir / "out" / "a b.kvbk", dir / "un packed", {}, &exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(testing_support::readFile(dir / "un packed" / u8"d\u00e4ta!.vmdk"), std::string(300000, 'd'));
    EXPECT_EQ(testing_support::readFile(dir / "un packed" / "vantor.config"), "{}");

    testing_support::writeFile(dir / "corrupt.kvbk", "not an archive");
    EXPECT_TRUE(extractFiles(dir / "corrupt.kvbk", dir / "c", {}, &exitCode)) << "the pipe closed normally";
    EXPECT_NE(exitCode, 0) << "but the archiver says it failed";
    setArchiverProgram({});
}

// An archiver that stops writing (here a stand-in that only sleeps, with a child of its own) is stopped
// after the idle time-out; the run fails with a log line instead of waiting.
TEST(Archiver, AnArchiverSilentPastTheIdleTimeOutIsStoppedAndFails) {
    TempDir dir;
    testing_support::writeFile(dir / "hang.sh", "#!/bin/sh\nsleep 600\n");
    std::filesystem::permissions(dir / "hang.sh", std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    testing_support::writeFile(dir / "a.kvbk", "x");
    setArchiverProgram(dir / "hang.sh");
    setArchiverIdleTimeout(std::chrono::milliseconds(200));
    testing_support::LogCapture log;

    EXPECT_FALSE(extractFiles(dir / "a.kvbk", dir / "out", {}));
    EXPECT_TRUE(log.containsPart(L"archiver stopped: no output for 200 ms."));
    setArchiverIdleTimeout(kArchiverIdleTimeout);
    setArchiverProgram({});
}

TEST(Archiver, AnEncryptedArchiveFailsWithALogLineInsteadOfAskingForAPassword) {
    if (std::string(KV_7ZZ).find("NOTFOUND") != std::string::npos) GTEST_SKIP() << "7zz is not installed";
    TempDir dir;
    testing_support::writeFile(dir / "data.vmdk", "disk");
    const std::string make = std::string(KV_7ZZ) + " a -pSECRET '" + (dir / "enc.kvbk").string() + "' '" +
                             (dir / "data.vmdk").string() + "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(make.c_str()), 0);
    setArchiverProgram(KV_7ZZ);
    testing_support::LogCapture log;

    EXPECT_FALSE(extractFiles(dir / "enc.kvbk", dir / "out", {}));
    EXPECT_TRUE(log.containsPart(L"archive is encrypted: the archiver asked for a password."));
    setArchiverProgram({});
}
