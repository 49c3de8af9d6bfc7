// Links inside an instance folder under Wine, made as Unix symbolic links from the Linux side: removing the
// instance, a restore's clean-up and copies over a link never touch the outside files they point to.
//
// This program is also the stand-in archiver of the restore test: started as "<program> e ... -o"FOLDER"",
// it plants links to the folder named by KV_TEST_OUTSIDE in FOLDER and fails as a broken archive does.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/files/Archiver.h"
#include "core/files/FileRoutines.h"
#include "core/files/Files.h"
#include "core/storage/Players.h"
#include "support/LinkedInstance.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/UnixLink_win.h"
#include "support/WinProcess_win.h"

using common::Players;
using testing_support::LinkedInstance;
using testing_support::LogCapture;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

void unixLink(const std::filesystem::path& link, const std::filesystem::path& target) {
    ASSERT_TRUE(testing_support::makeUnixLink(link, target)) << "no Unix link at " << link.string();
}

class LinksUnderWine : public ::testing::Test {
protected:
    ~LinksUnderWine() override { testing_support::removeFromLinux(dir.path()); }
    TempDir dir;
    LinkedInstance world{dir.path(), unixLink};
    Players p{KV_PRODUCT_9};
    LogCapture log;
    void SetUp() override { p.init(world.line); }
};

int plantLinksAndFail(int argc, char** argv) {
    const char* outside = std::getenv("KV_TEST_OUTSIDE");
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "-o", 2) != 0 || !outside) continue;
        const std::filesystem::path folder = argv[i] + 2;
        testing_support::makeUnixLink(folder / "dirlink", outside);
        testing_support::makeUnixLink(folder / "filelink", std::filesystem::path(outside) / "keep.txt");
    }
    return 2;
}

} // namespace

TEST_F(LinksUnderWine, RemovingTheInstanceLeavesTheLinksAloneAndTheOutsideFilesWhole) {
    p.remove(3);
    world.expectOutsideIntact("remove");
    EXPECT_FALSE(std::filesystem::exists(world.instance / "data.vmdk"));
    EXPECT_TRUE(log.containsPart(L"alone: it leads to another place"));
    EXPECT_FALSE(p.hasIndex(3));
}

TEST_F(LinksUnderWine, ARestoresCleanUpLeavesTheOutsideFilesWhole) {
    SetEnvironmentVariableW(L"KV_TEST_OUTSIDE", world.outside.c_str());
    common::files::setArchiverProgram(testing_support::thisProgram());
    writeFile(dir / "any.kvbk", "not read by the stand-in");
    EXPECT_FALSE(p.restore(3, dir / "any.kvbk"));
    common::files::setArchiverProgram({});
    world.expectOutsideIntact("restore");
    EXPECT_EQ(readFile(world.instance / "data.vmdk"), "data three");
}

TEST_F(LinksUnderWine, CopiesOverALinkNeverWriteWhereItPoints) {
    writeFile(dir / "new", "new");
    EXPECT_TRUE(common::files::copy_overwrite(dir / "new", world.instance / "filelink"));
    EXPECT_EQ(readFile(world.instance / "filelink"), "new") << "the link itself is replaced";
    unixLink(world.instance / "filelink2", world.outside / "keep.txt");
    EXPECT_FALSE(utility::ufile::copyFileByStream(dir / "new", world.instance / "filelink2"));
    world.expectOutsideIntact("copies");
}

TEST_F(LinksUnderWine, SizesLeaveOutWhatLinksPointTo) {
    EXPECT_EQ(common::files::folderBytes(world.instance), std::string("data three").size());
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "e") == 0) return plantLinksAndFail(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
