#pragma once
// Instance 3 of a product line whose folder holds links to a folder outside it: "dirlink" to that folder
// and "filelink" to a file in it. Whatever is done to the instance, the outside files must survive. How a
// link is made is given by the test (std::filesystem natively, a Unix symbolic link made from Wine).

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/TempDir.h"

namespace testing_support {

class LinkedInstance {
public:
    using MakeLink = std::function<void(const std::filesystem::path& link, const std::filesystem::path& target)>;

    LinkedInstance(const std::filesystem::path& folder, MakeLink makeLink)
        : base(folder), outside(folder / "outside"), line(folder / "line"),
          instance(folder / "line" / "vms" / "vantor3"), m_makeLink(std::move(makeLink)) {
        writeFile(outside / "keep.txt", "keep");
        writeFile(outside / "inner" / "deep.txt", "deep");
        writeFile(instance / "data.vmdk", "data three");
        writeFile(line / "vms" / "config" / "vantor3.config", R"({"statusSettings.playerName": "three"})");
        plantLinks(instance);
    }

    // "dirlink" and "filelink" inside `folder`.
    void plantLinks(const std::filesystem::path& folder) const {
        m_makeLink(folder / "dirlink", outside);
        m_makeLink(folder / "filelink", outside / "keep.txt");
    }

    void expectOutsideIntact(const char* after) const {
        EXPECT_EQ(readFile(outside / "keep.txt"), "keep") << after;
        EXPECT_EQ(readFile(outside / "inner" / "deep.txt"), "deep") << after;
    }

    const std::filesystem::path base, outside, line, instance;

private:
    MakeLink m_makeLink;
};

} // namespace testing_support
