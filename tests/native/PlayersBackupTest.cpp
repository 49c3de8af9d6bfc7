#include <gtest/gtest.h>

#include <fstream>

#include "core/files/Archiver.h"
#include "core/files/FileSwap.h"
#include "core/storage/Desktop.h"
#include "core/storage/Players.h"
#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"

using common::Players;
using testing_support::headOf;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeDiskImage;
using testing_support::writeFile;

namespace {

bool have7zz() {
    return std::string(KV_7ZZ).find("NOTFOUND") == std::string::npos;
}

// Entry names of an archive, listed by the real archiver.
std::string listing(const std::filesystem::path& archive, const TempDir& dir) {
    const auto out = dir / "listing.txt";
    const std::string command = std::string(KV_7ZZ) + " l -ba -slt '" + archive.string() + "' > '" + out.string() + "'";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream in(out);
    std::string line, names;
    while (std::getline(in, line))
        if (line.rfind("Path = ", 0) == 0) names += line.substr(7) + ";";
    return names;
}

// A stand-in archiver that fails the way a full disk does: it writes part of a file and exits with 2.
std::filesystem::path failingArchiver(const TempDir& dir) {
    const auto script = dir / "failing-7z.sh";
    writeFile(script, "#!/bin/sh\nfor a; do case \"$a\" in -o*) out=\"${a#-o}\";; esac; done\n"
                      "[ -n \"$out\" ] && printf partial > \"$out/data.vmdk\"\n"
                      "echo 'ERROR: No space left on device' >&2\nexit 2\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

// An archive of files with these names and contents, packed flat by the real archiver.
std::filesystem::path packed(const TempDir& dir, const std::string& name,
                             const std::vector<std::pair<std::string, std::string>>& entries) {
    const auto folder = dir / (name + ".files");
    std::vector<std::filesystem::path> files;
    for (const auto& [entry, content] : entries) {
        writeFile(folder / entry, content);
        files.push_back(folder / entry);
    }
    EXPECT_TRUE(common::files::archiveFiles(false, files, dir / name, {}));
    return dir / name;
}

class PlayersBackupTest : public ::testing::Test {
protected:
    TempDir dir;
    Players p{KV_PRODUCT_9};
    void SetUp() override {
        if (!have7zz()) GTEST_SKIP() << "7zz is not installed";
        common::files::setArchiverProgram(KV_7ZZ);
        p.init(dir / "line");
        writeDiskImage(p.dataDiskPath(1, false), "data one", 1 << 20);
        writeDiskImage(p.sdcardDiskPath(1, false), "sdcard one", 1 << 20);
        writeFile(p.configPath(1), R"({"statusSettings.playerName": "one"})");
    }
    void TearDown() override {
        common::files::setArchiverProgram({});
        common::files::setFileMover({});
    }
    void expectInstanceOneUnchanged() {
        EXPECT_EQ(headOf(p.dataDiskPath(1, false)), "data one");
        EXPECT_EQ(std::filesystem::file_size(p.dataDiskPath(1, false)), 1u << 20);
        EXPECT_EQ(headOf(p.sdcardDiskPath(1, false)), "sdcard one");
        EXPECT_EQ(readFile(p.configPath(1)), R"({"statusSettings.playerName": "one"})");
        std::size_t entries = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.instanceFolder(1))) ++entries;
        EXPECT_EQ(entries, 2u) << "no temporary files left behind";
        entries = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.configPath(1).parent_path())) ++entries;
        EXPECT_EQ(entries, 1u) << "no staged configuration left behind";
    }
};

} // namespace

TEST_F(PlayersBackupTest, BackupPacksDisksAndConfigurationFlatAndRestoreBringsThemBack) {
    const auto archive = dir / "my backups" / "one.kvbk";
    std::filesystem::create_directories(archive.parent_path());
    EXPECT_TRUE(p.backup(1, false, archive));
    ASSERT_TRUE(std::filesystem::exists(archive));
    EXPECT_EQ(listing(archive, dir), "data.vmdk;sdcard.vmdk;vantor.config;");
    EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(1) / "vantor.config"));
    EXPECT_FALSE(p.isBackuping(1));

    writeDiskImage(p.dataDiskPath(1, false), "changed", 10);
    std::filesystem::remove(p.sdcardDiskPath(1, false));
    writeFile(p.configPath(1), "{}");
    EXPECT_TRUE(p.restore(1, archive));
    expectInstanceOneUnchanged();
    EXPECT_FALSE(p.isRestoring(1));
}

TEST_F(PlayersBackupTest, InstanceWithoutSdcardGivesTwoEntriesAndRestoreRemovesALaterSdcard) {
    std::filesystem::remove(p.sdcardDiskPath(1, false));
    EXPECT_TRUE(p.backup(1, true, dir / "two.kvbk"));
    EXPECT_EQ(listing(dir / "two.kvbk", dir), "data.vmdk;vantor.config;");
    writeDiskImage(p.sdcardDiskPath(1, false), "new sdcard");
    EXPECT_TRUE(p.restore(1, dir / "two.kvbk"));
    EXPECT_FALSE(std::filesystem::exists(p.sdcardDiskPath(1, false)));
    EXPECT_EQ(headOf(p.dataDiskPath(1, false)), "data one");
}

TEST_F(PlayersBackupTest, OnlyTheExactLowerCaseExtensionsDoAnything) {
    EXPECT_FALSE(p.backup(1, false, dir / "upper.KVBK"));
    EXPECT_FALSE(std::filesystem::exists(dir / "upper.KVBK"));
    writeDiskImage(dir / "image.VDI", "image");
    EXPECT_FALSE(p.restore(1, dir / "image.VDI"));
    EXPECT_FALSE(p.restore(1, dir / "upper.KVBK"));
    expectInstanceOneUnchanged();
}

TEST_F(PlayersBackupTest, VdiImageOverwritesTheDataDiskOfEitherKind) {
    writeDiskImage(dir / "image.vdi", "vdi image", 4096);
    EXPECT_TRUE(p.restore(1, dir / "image.vdi"));
    EXPECT_EQ(headOf(p.dataDiskPath(1, false)), "vdi image") << "line 2 keeps the name data.vmdk";
    Players android14(KV_PRODUCT_14);
    android14.init(dir / "line14");
    writeDiskImage(android14.dataDiskPath(0, true), "old");
    EXPECT_TRUE(android14.restore(0, dir / "image.vdi"));
    EXPECT_EQ(headOf(android14.dataDiskPath(0, true)), "vdi image");
}

TEST_F(PlayersBackupTest, FailedRestoresLeaveTheInstanceAsItWas) {
    const auto archive = dir / "good.kvbk";
    ASSERT_TRUE(p.backup(1, false, archive));
    testing_support::LogCapture log;

    writeFile(dir / "corrupt.kvbk", std::string(4096, 'x'));
    EXPECT_FALSE(p.restore(1, dir / "corrupt.kvbk"));
    expectInstanceOneUnchanged();

    EXPECT_FALSE(p.restore(1, dir / "missing.kvbk"));
    expectInstanceOneUnchanged();

    common::files::setArchiverProgram(failingArchiver(dir)); // disk full half-way
    EXPECT_FALSE(p.restore(1, archive));
    expectInstanceOneUnchanged();

    common::files::setArchiverProgram(dir / "no-such-7za"); // archiver missing
    EXPECT_FALSE(p.restore(1, archive));
    expectInstanceOneUnchanged();
    EXPECT_TRUE(log.containsPart(L"its files are unchanged"));

    common::files::setArchiverProgram(KV_7ZZ);
    const auto foreign = packed(dir, "foreign.kvbk", {{"data.vmdk", "no configuration"}, {"notes.txt", "x"}});
    EXPECT_FALSE(p.restore(1, foreign));
    expectInstanceOneUnchanged();

    EXPECT_FALSE(p.restore(1, dir / "missing.vdi"));
    expectInstanceOneUnchanged();
}

TEST_F(PlayersBackupTest, FailedBackupKeepsAnExistingArchive) {
    writeFile(dir / "old.kvbk", "an older backup");
    common::files::setArchiverProgram(failingArchiver(dir));
    EXPECT_FALSE(p.backup(1, false, dir / "old.kvbk"));
    EXPECT_EQ(readFile(dir / "old.kvbk"), "an older backup");
    EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(1) / "vantor.config"));
    std::size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, 3u) << "line, old.kvbk and the script: no partial archive left";
}

TEST_F(PlayersBackupTest, RestoreMatchesEntryNamesWithoutRegardToCase) {
    const auto archive =
        packed(dir, "upper.kvbk", {{"DATA.vmdk", "data two"}, {"SDCARD.vmdk", "sdcard two"}, {"Vantor.CONFIG", "{}"}});
    EXPECT_TRUE(p.restore(1, archive));
    EXPECT_EQ(readFile(p.dataDiskPath(1, false)), "data two");
    EXPECT_EQ(readFile(p.sdcardDiskPath(1, false)), "sdcard two") << "the sdcard from the archive stays";
    EXPECT_EQ(readFile(p.configPath(1)), "{}");
    std::size_t entries = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.instanceFolder(1))) ++entries;
    EXPECT_EQ(entries, 2u);
}

TEST_F(PlayersBackupTest, RestoreIsRefusedWhileTheInstanceRunsOrIsBusy) {
    const auto archive = packed(dir, "two.kvbk", {{"data.vmdk", "data two"}, {"vantor.config", "{}"}});
    testing_support::RecordingHost host;
    p.setNamePatterns(L"mutex_%08x", L"endpoint_%08x");
    common::setDesktop(&host);
    host.runningMutexes.insert(p.mutexName(1));
    EXPECT_FALSE(p.restore(1, archive)) << "running";
    host.runningMutexes.clear();
    using Kind = common::BusyRegistry::Kind;
    for (Kind kind : {Kind::Backup, Kind::Restore, Kind::Creation}) {
        common::BusyMark mark(p.busy(), kind, 1);
        EXPECT_FALSE(p.restore(1, archive)) << static_cast<int>(kind);
    }
    for (auto [source, target] : {std::pair{1, 4}, std::pair{4, 1}}) {
        common::CopyMark copy(p.busy(), source, target);
        EXPECT_FALSE(p.restore(1, archive)) << source;
    }
    common::setDesktop(nullptr);
    expectInstanceOneUnchanged();
    common::BusyMark other(p.busy(), Kind::Backup, 2);
    EXPECT_TRUE(p.restore(1, archive)) << "another instance's backup is no reason";
    EXPECT_TRUE(p.busy().contains(Kind::Backup, 2));
    EXPECT_FALSE(p.isRestoring(1));
}

// Three files are moved aside and three moved in: whichever move fails, every file goes back.
TEST_F(PlayersBackupTest, ASwapThatFailsAtAnyMovePutsEveryFileBack) {
    const auto archive =
        packed(dir, "two.kvbk", {{"data.vmdk", "data two"}, {"sdcard.vmdk", "sdcard two"}, {"vantor.config", "{}"}});
    for (int failing = 1; failing <= 7; ++failing) {
        int moves = 0;
        common::files::setFileMover([&](const std::filesystem::path& from, const std::filesystem::path& to) {
            if (++moves == failing) return false;
            std::filesystem::rename(from, to);
            return true;
        });
        const bool restored = p.restore(1, archive);
        if (failing <= 6) {
            EXPECT_FALSE(restored) << failing;
            expectInstanceOneUnchanged();
        } else {
            EXPECT_TRUE(restored);
            EXPECT_EQ(readFile(p.dataDiskPath(1, false)), "data two");
            EXPECT_EQ(readFile(p.sdcardDiskPath(1, false)), "sdcard two");
            EXPECT_EQ(readFile(p.configPath(1)), "{}");
        }
    }
}

// A restore killed after its n-th move (every later move fails, as nothing runs any more) leaves old files
// under ".old" names and its journal. The next restore undoes the swap: the instance is wholly the old one.
TEST_F(PlayersBackupTest, TheNextRestoreRecoversWhatAKilledSwapMovedAside) {
    const auto archive =
        packed(dir, "two.kvbk", {{"data.vmdk", "data two"}, {"sdcard.vmdk", "sdcard two"}, {"vantor.config", "{}"}});
    // Moves 1-3 take data, sdcard and configuration aside; 4-6 move the new ones in, in the same order.
    for (int killedAfter = 1; killedAfter <= 5; ++killedAfter) {
        int moves = 0;
        common::files::setFileMover([&](const std::filesystem::path& from, const std::filesystem::path& to) {
            if (++moves > killedAfter) return false;
            std::filesystem::rename(from, to);
            return true;
        });
        EXPECT_FALSE(p.restore(1, archive));
        common::files::setFileMover({});
        writeFile(p.configPath(1).string() + ".restore12-3", "{}"); // the staged configuration a kill leaves
        testing_support::LogCapture log;
        EXPECT_FALSE(p.restore(1, dir / "missing.kvbk"));
        // Even a kill after some new files were in leaves the instance wholly the old one.
        EXPECT_EQ(headOf(p.dataDiskPath(1, false)), "data one") << killedAfter;
        EXPECT_EQ(headOf(p.sdcardDiskPath(1, false)), "sdcard one") << killedAfter;
        EXPECT_EQ(readFile(p.configPath(1)), R"({"statusSettings.playerName": "one"})") << killedAfter;
        EXPECT_TRUE(log.containsPart(L"put back ")) << killedAfter;
        std::size_t entries = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.instanceFolder(1))) ++entries;
        EXPECT_EQ(entries, 2u) << "no old file nor journal left beside the disks";
        entries = 0;
        for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(p.configPath(1).parent_path())) ++entries;
        EXPECT_EQ(entries, 1u) << "no old or staged configuration left beside it";
        writeDiskImage(p.dataDiskPath(1, false), "data one", 1 << 20);
        writeDiskImage(p.sdcardDiskPath(1, false), "sdcard one", 1 << 20);
    }
}

// Killed after every new file was in, while the old ones were being deleted: the next restore keeps the new
// files and deletes what is left of the old.
TEST_F(PlayersBackupTest, TheNextRestoreFinishesASwapKilledWhileDeletingTheOldFiles) {
    const auto data = p.dataDiskPath(1, false);
    const auto aside = data.string() + ".old7-1";
    writeDiskImage(data, "data two", 1 << 20);
    writeDiskImage(aside, "data one", 1 << 20);
    writeFile(p.instanceFolder(1) / "restore.swap", "done\n" + data.string() + "\n" + aside + "\n");
    EXPECT_FALSE(p.restore(1, dir / "missing.kvbk"));
    EXPECT_EQ(headOf(data), "data two");
    EXPECT_FALSE(std::filesystem::exists(aside));
    EXPECT_FALSE(std::filesystem::exists(p.instanceFolder(1) / "restore.swap"));
}
