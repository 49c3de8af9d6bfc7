// Whole files read without asking for their size first: every length around the first read's buffer comes back
// whole, and a file over the limit, a folder or a missing file gives nothing.

#include "core/formats/FileBytes.h"

#include <gtest/gtest.h>

#include <string>

#include "support/TempDir.h"

using testing_support::TempDir;
using testing_support::writeFile;

TEST(FileBytes, EveryLengthUpToTheLimitComesBackWholeAndOneByteMoreGivesNothing) {
    TempDir dir;
    constexpr std::uint64_t kLimit = 40000;
    for (const std::size_t size : {0u, 1u, 16383u, 16384u, 16385u, 32769u, 39999u, 40000u}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
        writeFile(dir / "f", bytes);
        const auto read = common::formats::readFileBytes(dir / "f", kLimit);
        ASSERT_TRUE(read) << size;
        EXPECT_TRUE(*read == bytes) << size;
    }
    for (const std::size_t size : {40001u, 70000u}) {
        writeFile(dir / "f", std::string(size, 'x'));
        EXPECT_FALSE(common::formats::readFileBytes(dir / "f", kLimit)) << size;
    }
    writeFile(dir / "small", "12345");
    EXPECT_FALSE(common::formats::readFileBytes(dir / "small", 4));
    EXPECT_FALSE(common::formats::readFileBytes(dir / "missing", kLimit));
    EXPECT_FALSE(common::formats::readFileBytes(dir.path(), kLimit)) << "a folder";
}
