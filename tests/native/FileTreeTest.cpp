// Our folder walks with POSIX symbolic links: removal, sizes and copies never reach what a link points to,
// and leftovers of killed operations go when the operation next starts and never count in disk sizes.

#include "core/files/FileTree.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "core/files/Archiver.h"
#include "core/files/AtomicFile.h"
#include "core/files/FileRoutines.h"
#include "core/files/Files.h"
#include "core/files/Leftovers.h"
#include "core/storage/Players.h"
#include "support/LinkedInstance.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using common::Players;
using testing_support::LinkedInstance;
using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

void makeLink(const std::filesystem::path& link, const std::filesystem::path& target) {
    std::filesystem::create_symlink(target, link);
}

bool present(const std::filesystem::path& path) {
    return std::filesystem::symlink_status(path).type() != std::filesystem::file_type::not_found;
}

// An archiver that unpacks two links to the outside folder into its output folder, then fails.
std::filesystem::path linkingArchiver(const TempDir& dir, const std::filesystem::path& outside) {
    const auto script = dir / "linking-7z.sh";
    writeFile(script, "#!/bin/sh\nfor a; do case \"$a\" in -o*) out=\"${a#-o}\";; esac; done\n"
                      "ln -s '" +
                          outside.string() +
                          "' \"$out/dirlink\"\n"
                          "ln -s '" +
                          (outside / "keep.txt").string() + "' \"$out/filelink\"\nexit 2\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    return script;
}

struct LinkCase {
    const char* what;
    std::function<void(Players&, const LinkedInstance&, const TempDir&)> run;
};

} // namespace

TEST(LinksInsideAnInstance, NoOperationReachesWhatTheyPointTo) {
    const LinkCase cases[] = {
        {"remove",
         [](Players& p, const LinkedInstance& w, const TempDir&) {
             p.remove(3);
             EXPECT_FALSE(present(w.instance)) << "the links themselves are removed";
         }},
        {"restore clean-up",
         [](Players& p, const LinkedInstance& w, const TempDir& dir) {
             writeFile(dir / "any.kvbk", "not read by the stand-in");
             common::files::setArchiverProgram(linkingArchiver(dir, w.outside));
             EXPECT_FALSE(p.restore(3, dir / "any.kvbk"));
             common::files::setArchiverProgram({});
             EXPECT_EQ(readFile(w.instance / "data.vmdk"), "data three");
         }},
        {"replacing copy",
         [](Players&, const LinkedInstance& w, const TempDir& dir) {
             writeFile(dir / "new", "new");
             EXPECT_TRUE(common::files::copy_overwrite(dir / "new", w.instance / "filelink"));
             EXPECT_EQ(readFile(w.instance / "filelink"), "new") << "the link is replaced by the copy";
         }},
        {"stream copy",
         [](Players&, const LinkedInstance& w, const TempDir& dir) {
             writeFile(dir / "new", "new");
             EXPECT_FALSE(utility::ufile::copyFileByStream(dir / "new", w.instance / "filelink"));
         }},
        {"folder removal",
         [](Players&, const LinkedInstance& w, const TempDir&) { EXPECT_TRUE(utility::ufile::removeDir(w.instance)); }},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const LinkedInstance world(dir.path(), makeLink);
        Players p(KV_PRODUCT_9);
        p.init(world.line);
        c.run(p, world, dir);
        world.expectOutsideIntact(c.what);
    }
}

TEST(FileTree, AFolderThatIsItselfALinkIsRemovedAsTheLinkOnly) {
    TempDir dir;
    const LinkedInstance world(dir.path(), makeLink);
    makeLink(dir / "alias", world.outside);
    EXPECT_FALSE(common::files::removeTree(dir / "alias"));
    EXPECT_FALSE(present(dir / "alias"));
    world.expectOutsideIntact("removing a link to a folder");
}

TEST(FileTree, SizesCountPlainFilesButNeitherLinksNorLeftovers) {
    TempDir dir;
    const LinkedInstance world(dir.path(), makeLink);
    writeFile(world.instance / "sub" / "x", std::string(10, 'x'));
    writeFile(world.instance / "data.vmdk.part12-0", std::string(500, 'p'));
    writeFile(world.instance / "restore.unpack3-1" / "data.vmdk", std::string(700, 'u'));
    EXPECT_EQ(common::files::folderBytes(world.instance), std::string("data three").size() + 10);
    EXPECT_EQ(common::files::folderBytes(dir / "missing"), 0u);
}

TEST(FileTree, TheSizeWalkSaysWhetherANameLiesInTheFolderAsTheFileSystemWould) {
    struct Case {
        const char* what;
        std::function<void(const std::filesystem::path& folder, const TempDir&)> plant;
        bool holds;
    };
    const Case cases[] = {
        {"a plain file", [](const auto& f, const TempDir&) { writeFile(f / "copy_not_finish", ""); }, true},
        {"nothing", [](const auto&, const TempDir&) {}, false},
        {"a folder", [](const auto& f, const TempDir&) { std::filesystem::create_directory(f / "copy_not_finish"); },
         true},
        {"a link to a file",
         [](const auto& f, const TempDir& d) {
             writeFile(d / "elsewhere", "x");
             makeLink(f / "copy_not_finish", d / "elsewhere");
         },
         true},
        {"a link to nothing", [](const auto& f, const TempDir& d) { makeLink(f / "copy_not_finish", d / "none"); },
         false},
        {"another case", [](const auto& f, const TempDir&) { writeFile(f / "COPY_NOT_FINISH", ""); }, false},
        {"no folder", [](const auto& f, const TempDir&) { std::filesystem::remove_all(f); }, false},
        {"a folder that is a link",
         [](const auto& f, const TempDir& d) {
             writeFile(d / "real" / "copy_not_finish", "");
             std::filesystem::remove_all(f);
             makeLink(f, d / "real");
         },
         true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto folder = dir / "vantor3";
        writeFile(folder / "data.vmdk", "data three");
        c.plant(folder, dir);
        const auto facts = common::files::folderBytesAndEntry(folder, "copy_not_finish");
        EXPECT_EQ(facts.holdsName, c.holds) << c.what;
        EXPECT_EQ(facts.holdsName, common::files::fileExists(folder / "copy_not_finish")) << c.what;
        EXPECT_EQ(facts.bytes, common::files::folderBytes(folder)) << c.what;
    }
}

TEST(Leftovers, OnlyOurOwnTemporaryNamesAreLeftovers) {
    for (const char* name : {"data.vmdk.part12-0", "vantor3.config.tmp7-15", "restore.unpack3-1", "a.kvbk.part1-2"})
        EXPECT_TRUE(common::files::isLeftoverName(name)) << name;
    for (const char* name : {"movie.part1.rar", "data.vmdk", ".part1-2", "x.part-1", "x.part1-", "x.tmp12",
                             "x.partial1-2", "restore.unpack", "x.tmp1-2a"})
        EXPECT_FALSE(common::files::isLeftoverName(name)) << name;
}

TEST(Leftovers, AKilledOperationsLeftoversGoWhenItNextStarts) {
    struct Case {
        const char* what;
        std::vector<std::filesystem::path> leftovers; // below the line folder
        std::function<void(Players&, const TempDir&)> start;
    };
    const Case cases[] = {
        {"restore",
         {"vms/vantor3/restore.unpack5-0/data.vmdk", "vms/vantor3/data.vmdk.part5-1",
          "vms/config/vantor3.config.part5-2"},
         [](Players& p, const TempDir& dir) {
             writeFile(dir / "disk.vdi", "restored");
             EXPECT_TRUE(p.restore(3, dir / "disk.vdi"));
             EXPECT_EQ(readFile(p.dataDiskPath(3, false)), "restored");
         }},
        {"remove", {"vms/config/vantor3.config.tmp9-9"}, [](Players& p, const TempDir&) { p.remove(3); }},
        {"backup",
         {"backups/three.kvbk.part4-4"},
         [](Players& p, const TempDir& dir) {
             common::files::setArchiverProgram(dir / "no-archiver");
             EXPECT_FALSE(p.backup(3, false, dir / "line" / "backups" / "three.kvbk"));
             common::files::setArchiverProgram({});
         }},
        {"settings write",
         {"vms/config/vantor3.config.tmp1-2"},
         [](Players& p, const TempDir&) { EXPECT_TRUE(common::files::writeFileAtomically(p.configPath(3), "{}")); }},
    };
    for (const auto& c : cases) {
        TempDir dir;
        const auto line = dir / "line";
        writeFile(line / "vms" / "vantor3" / "data.vmdk", "data");
        writeFile(line / "vms" / "vantor3" / "movie.part1.rar", "the user's");
        writeFile(line / "vms" / "config" / "vantor3.config", "{}");
        writeFile(line / "vms" / "config" / "vantor30.config.tmp1-1", "another file's write in progress");
        for (const auto& leftover : c.leftovers) writeFile(line / leftover, "left");
        Players p(KV_PRODUCT_9);
        p.init(line);
        c.start(p, dir);
        for (const auto& leftover : c.leftovers) EXPECT_FALSE(present(line / leftover)) << c.what << ": " << leftover;
        EXPECT_TRUE(present(line / "vms" / "config" / "vantor30.config.tmp1-1")) << c.what;
        if (present(line / "vms" / "vantor3")) {
            EXPECT_TRUE(present(line / "vms" / "vantor3" / "movie.part1.rar")) << c.what;
        }
    }
}
