#include "core/files/AtomicFile.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/files/DamagedFile.h"
#include "core/files/Files.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using testing_support::readFile;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::size_t entriesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

// Until it goes out of scope, every flush fails.
struct FailingFlush {
    common::files::FlushToDisk previous =
        common::files::replaceFlushForTesting([](const std::filesystem::path&) { return false; });
    ~FailingFlush() { common::files::replaceFlushForTesting(previous); }
};

} // namespace

TEST(AtomicFile, NoWriterReplacesItsTargetWhenTheFlushBeforeTheRenameFails) {
    const testing_support::LogCapture log;
    const std::pair<const char*, std::function<bool(const TempDir&)>> writers[] = {
        {"bytes", [](const TempDir& dir) { return common::files::writeFileAtomically(dir / "target", "new"); }},
        {"copy", [](const TempDir& dir) { return common::files::copyReplacing(dir / "source", dir / "target"); }},
    };
    for (const auto& [name, write] : writers) {
        TempDir dir;
        writeFile(dir / "target", "precious");
        writeFile(dir / "source", "new");
        {
            const FailingFlush failing;
            EXPECT_FALSE(write(dir)) << name;
        }
        EXPECT_EQ(readFile(dir / "target"), "precious") << name;
        EXPECT_EQ(entriesIn(dir.path()), 2u) << name << ": no temporary file left";
        EXPECT_TRUE(write(dir)) << name;
        EXPECT_EQ(readFile(dir / "target"), "new") << name;
    }
}

TEST(AtomicFile, KeptCopiesOfADamagedFileAreNumberedAndNeverOverwritten) {
    const testing_support::LogCapture log;
    TempDir dir;
    const auto file = dir / "vantors.config";
    const char* versions[] = {"first", "second", "third"};
    const char* names[] = {"vantors.config.bad", "vantors.config.2.bad", "vantors.config.3.bad"};
    for (int i = 0; i < 3; ++i) {
        writeFile(file, versions[i]);
        EXPECT_EQ(common::files::keepDamagedCopy(file), dir / names[i]);
    }
    for (int i = 0; i < 3; ++i) EXPECT_EQ(readFile(dir / names[i]), versions[i]);
    EXPECT_EQ(readFile(file), "third") << "the file itself is left to its writer";
    EXPECT_TRUE(common::files::keepDamagedCopy(dir / "missing").empty());
}
