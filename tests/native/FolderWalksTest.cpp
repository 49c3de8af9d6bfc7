// The walks of a list shared between two threads hand back each folder's own facts, in the folders' order.

#include "core/files/FolderWalks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDir.h"

using testing_support::TempDir;
using testing_support::writeFile;

TEST(FolderWalks, EveryFolderGetsItsOwnSizeAndMarkerWhicheverThreadWalkedIt) {
    TempDir dir;
    std::vector<std::filesystem::path> folders;
    for (int i = 0; i < 300; ++i) {
        folders.push_back(dir / ("vantor" + std::to_string(i)));
        writeFile(folders.back() / "data.vmdk", std::string(static_cast<std::size_t>(i), 'd'));
        if (i % 3 == 0) writeFile(folders.back() / "copy_not_finish", "");
    }
    folders.push_back(dir / "missing");
    common::files::FolderWalks walks(folders, "copy_not_finish");
    const auto facts = walks.results();
    ASSERT_EQ(facts.size(), folders.size());
    for (std::size_t i = 0; i + 1 < folders.size(); ++i) {
        EXPECT_EQ(facts[i].bytes, i) << i;
        EXPECT_EQ(facts[i].holdsName, i % 3 == 0) << i;
    }
    EXPECT_EQ(facts.back().bytes, 0u);
    EXPECT_FALSE(facts.back().holdsName);
}
