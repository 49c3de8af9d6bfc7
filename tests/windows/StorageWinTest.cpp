// Instance storage on Windows: a real backup and restore with the shipped 7za.exe.

#include <windows.h>

#include <gtest/gtest.h>

#include "core/files/Archiver.h"
#include "core/platform/ArchiverProcess.h"
#include "core/storage/Players.h"
#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using common::Players;
using testing_support::headOf;
using testing_support::TempDir;
using testing_support::writeDiskImage;

TEST(StorageOnWindows, BackupAndRestoreRoundTripThroughTheShipped7za) {
    common::files::setArchiverProgram(testing_support::windowsPathOf(KV_PROGRAM_7ZA));
    TempDir dir;
    Players p(KV_PRODUCT_14);
    p.init(dir / u8"\u5b89\u5353 line");
    writeDiskImage(p.dataDiskPath(3, true), "data 3", 2 << 20);
    writeDiskImage(p.sdcardDiskPath(3, true), "sdcard 3", 1 << 20);
    testing_support::writeFile(p.configPath(3), R"({"statusSettings.playerName": "w"})");
    const auto archive = dir / u8"my backups!" / "three.kvbk";
    std::filesystem::create_directories(archive.parent_path());
    p.backup(3, true, archive);
    ASSERT_TRUE(std::filesystem::exists(archive));
    EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(3) / "vantor.config"));

    writeDiskImage(p.dataDiskPath(3, true), "damaged", 16);
    std::filesystem::remove(p.sdcardDiskPath(3, true));
    testing_support::writeFile(p.configPath(3), "{}");
    p.restore(3, archive);
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3");
    EXPECT_EQ(std::filesystem::file_size(p.dataDiskPath(3, true)), 2u << 20);
    EXPECT_EQ(headOf(p.sdcardDiskPath(3, true)), "sdcard 3");
    EXPECT_EQ(testing_support::readFile(p.configPath(3)), R"({"statusSettings.playerName": "w"})");

    testing_support::writeFile(dir / "corrupt.kvbk", std::string(1000, 'x'));
    p.restore(3, dir / "corrupt.kvbk");
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3") << "a corrupt archive changes nothing";
    common::files::setArchiverProgram({});
}

// 7-Zip asks for the password of an encrypted archive on its standard input. The manager's own input may be
// a console or a pipe nobody writes to (as here): the archiver must read the null device instead, fail,
// and say why.
TEST(StorageOnWindows, AnEncryptedArchiveFailsWithALogLineInsteadOfWaitingForAPassword) {
    const auto archiver = testing_support::windowsPathOf(KV_PROGRAM_7ZA);
    TempDir dir;
    testing_support::writeFile(dir / "data.vmdk", "disk");
    const auto made = platform::runArchiverProcess(archiver,
                                                   L"7za.exe a -pSECRET \"" + (dir / "enc.kvbk").wstring() + L"\" \"" +
                                                       (dir / "data.vmdk").wstring() + L"\"",
                                                   {}, std::chrono::seconds(60));
    ASSERT_EQ(made.exitCode, 0);

    HANDLE silentRead = nullptr, silentWrite = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    ASSERT_TRUE(CreatePipe(&silentRead, &silentWrite, &inherit, 0));
    const HANDLE ownInput = GetStdHandle(STD_INPUT_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, silentRead);
    common::files::setArchiverProgram(archiver);
    testing_support::LogCapture log;

    EXPECT_FALSE(common::files::extractFiles(dir / "enc.kvbk", dir / "out", {}));
    EXPECT_TRUE(log.containsPart(L"archive is encrypted: the archiver asked for a password."));
    common::files::setArchiverProgram({});
    SetStdHandle(STD_INPUT_HANDLE, ownInput);
    CloseHandle(silentWrite);
    CloseHandle(silentRead);
}
