// Instance storage on Windows: a real backup and restore with the shipped 7za.exe, and a locked groups file.

#include <windows.h>

#include <gtest/gtest.h>

#include "core/files/Archiver.h"
#include "core/model/GroupStore.h"
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
    ASSERT_TRUE(p.backup(3, true, archive));
    ASSERT_TRUE(std::filesystem::exists(archive));
    EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(3) / "vantor.config"));

    writeDiskImage(p.dataDiskPath(3, true), "damaged", 16);
    std::filesystem::remove(p.sdcardDiskPath(3, true));
    testing_support::writeFile(p.configPath(3), "{}");
    ASSERT_TRUE(p.restore(3, archive));
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3");
    EXPECT_EQ(std::filesystem::file_size(p.dataDiskPath(3, true)), 2u << 20);
    EXPECT_EQ(headOf(p.sdcardDiskPath(3, true)), "sdcard 3");
    EXPECT_EQ(testing_support::readFile(p.configPath(3)), R"({"statusSettings.playerName": "w"})");

    testing_support::writeFile(dir / "corrupt.kvbk", std::string(1000, 'x'));
    EXPECT_FALSE(p.restore(3, dir / "corrupt.kvbk"));
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3") << "a corrupt archive changes nothing";
    common::files::setArchiverProgram({});
}

// A file another program holds open without sharing deletion cannot be moved on Windows. Whichever of the
// instance's files is held, the restore fails and puts back what it had already moved aside (nothing, the
// data disk, or the data disk and the sdcard): the instance is wholly as it was.
TEST(StorageOnWindows, ARestoreThatMeetsALockedFileLeavesTheWholeInstanceAsItWas) {
    common::files::setArchiverProgram(testing_support::windowsPathOf(KV_PROGRAM_7ZA));
    TempDir dir;
    Players p(KV_PRODUCT_14);
    p.init(dir / "line");
    writeDiskImage(p.dataDiskPath(3, true), "data 3", 1 << 20);
    writeDiskImage(p.sdcardDiskPath(3, true), "sdcard 3", 1 << 20);
    testing_support::writeFile(p.configPath(3), R"({"statusSettings.playerName": "w"})");
    const auto archive = dir / "three.kvbk";
    ASSERT_TRUE(p.backup(3, false, archive));
    ASSERT_TRUE(std::filesystem::exists(archive));

    writeDiskImage(p.dataDiskPath(3, true), "data now", 1 << 20);
    writeDiskImage(p.sdcardDiskPath(3, true), "sdcard now", 1 << 20);
    testing_support::writeFile(p.configPath(3), R"({"statusSettings.playerName": "now"})");
    for (const auto& held : {p.dataDiskPath(3, true), p.sdcardDiskPath(3, true), p.configPath(3)}) {
        const HANDLE locked = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(locked, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(p.restore(3, archive)) << held;
        CloseHandle(locked);
        EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data now") << held;
        EXPECT_EQ(headOf(p.sdcardDiskPath(3, true)), "sdcard now") << held;
        EXPECT_EQ(testing_support::readFile(p.configPath(3)), R"({"statusSettings.playerName": "now"})") << held;
        std::size_t entries = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.instanceFolder(3))) ++entries;
        EXPECT_EQ(entries, 2u) << "nothing moved aside is left behind";
        entries = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.configPath(3).parent_path())) ++entries;
        EXPECT_EQ(entries, 1u) << "no staged or old configuration is left behind";
    }
    EXPECT_TRUE(p.restore(3, archive)) << "with nothing held the same archive restores";
    EXPECT_EQ(headOf(p.dataDiskPath(3, true)), "data 3");
    EXPECT_EQ(headOf(p.sdcardDiskPath(3, true)), "sdcard 3");
    EXPECT_EQ(testing_support::readFile(p.configPath(3)), R"({"statusSettings.playerName": "w"})");
    common::files::setArchiverProgram({});
}

TEST(StorageOnWindows, AGroupsFileLockedAtStartIsNeitherLostAtShutdownNorByTheNextChange) {
    TempDir dir;
    const auto file = dir / "data" / "groupsV2";
    const std::string groups = "\r\nvantor14\r\nvantor9\r\nFarm|83886081||left=0|top=0|width=0|height=0|expand=1";
    testing_support::writeFile(file, groups);
    // Another program holds the file without sharing it while the manager starts.
    HANDLE lock = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    model::GroupStore store(dir / "data");
    store.load();
    CloseHandle(lock);
    EXPECT_TRUE(store.groups(KV_PRODUCT_9).empty()) << "what could not be read reads as no groups";

    EXPECT_FALSE(store.save()) << "the save at shutdown leaves an unread file alone";
    EXPECT_EQ(testing_support::readFile(file), groups);
    ASSERT_NE(store.createGroup(KV_PRODUCT_9, L"New", L""), nullptr);
    EXPECT_EQ(testing_support::readFile(dir / "data" / "groupsV2.bad"), groups) << "a change keeps it first";
    EXPECT_NE(testing_support::readFile(file).find("\r\nNew||left="), std::string::npos);
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
