#include "core/resources/ResourcePack.h"

#include <gtest/gtest.h>

#include "core/resources/RccFormat.h"
#include "core/resources/RccWriter.h"
#include "core/text/Utf.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace common::rcc;
using testing_support::LogCapture;

namespace {

std::string samplePack() {
    return *buildPack({{"skin/main.xml", "<Window/>"}, {"multi_language.tsv", "table"}, {"z-empty", ""}});
}

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}
void putU64(std::string& bytes, std::size_t at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}
// Makes the checksum right again, so the reader's other checks are the ones that must catch the damage.
std::string resealed(std::string bytes) {
    putU32(bytes, 20, crc32(std::string_view(bytes).substr(kHeaderBytes)));
    return bytes;
}

} // namespace

TEST(ResourcePack, EntriesComeBackByNameSortedAndUnknownNamesGiveNothing) {
    ResourcePack pack;
    ASSERT_TRUE(pack.load(samplePack()));
    EXPECT_EQ(pack.entry("skin/main.xml"), "<Window/>");
    EXPECT_EQ(pack.entry("z-empty"), "");
    EXPECT_EQ(pack.entry("skin"), std::nullopt);
    EXPECT_EQ(pack.names(), (std::vector<std::string>{"multi_language.tsv", "skin/main.xml", "z-empty"}));
    EXPECT_EQ(*buildPack({{"b", "2"}, {"a", "1"}}), *buildPack({{"a", "1"}, {"b", "2"}}));
}

TEST(ResourcePack, TheWriterRefusesEmptyRepeatedAndOverlongNames) {
    EXPECT_FALSE(buildPack({{"", "x"}}));
    EXPECT_FALSE(buildPack({{"a", "x"}, {"a", "y"}}));
    EXPECT_FALSE(buildPack({{std::string(kMaxNameBytes + 1, 'n'), "x"}}));
    EXPECT_TRUE(buildPack({}));
}

// One damage per check of the reader (the fuzz target tries the rest); lies behind the checksum are resealed.
TEST(ResourcePack, DamagedPacksAreRejectedWithTheLineOfTheCheckThatCaughtThem) {
    const std::string pack = samplePack();
    const std::size_t first = kHeaderBytes; // first entry record: name length, offset, size
    auto with = [&](std::size_t at, std::uint64_t value, int width) {
        std::string damaged = pack;
        width == 8 ? putU64(damaged, at, value) : putU32(damaged, at, static_cast<std::uint32_t>(value));
        return damaged;
    };
    std::string flipped = pack;
    flipped.back() = static_cast<char>(flipped.back() ^ 0x40);
    const std::pair<std::string, const wchar_t*> cases[] = {
        {pack.substr(0, kHeaderBytes - 1), L"not a pack"},
        {with(8, 2, 4), L"version 2 unknown"},
        {flipped, L"checksum mismatch"},
        {resealed(with(12, 0xFFFFFFFFu, 4)), L"does not fit"},
        {resealed(with(first, 0, 4)), L"entry 0 is damaged"},     // no name
        {resealed(with(first + 4, 0, 8)), L"entry 0 is damaged"}, // data inside the header
        {resealed(with(first + 4, UINT64_MAX, 8)), L"entry 0 is damaged"},
        {resealed(with(first + 12, UINT64_MAX - 30, 8)), L"entry 0 is damaged"}, // offset + size overflows
    };
    for (const auto& [bytes, line] : cases) {
        LogCapture log;
        ResourcePack reader;
        EXPECT_FALSE(reader.load(bytes)) << common::text::toUtf8(line);
        EXPECT_FALSE(reader.isOpen());
        EXPECT_TRUE(log.containsPart(line)) << common::text::toUtf8(line);
    }
}

TEST(ResourcePack, AMissingFileOpensAsEmpty) {
    testing_support::TempDir dir;
    LogCapture log;
    ResourcePack pack;
    EXPECT_FALSE(pack.open(dir / "rqresource.rcc"));
    EXPECT_TRUE(log.containsPart(L"rqresource.rcc"));
    testing_support::writeFile(dir / "rqresource.rcc", samplePack());
    EXPECT_TRUE(pack.open(dir / "rqresource.rcc"));
    EXPECT_EQ(pack.entry("multi_language.tsv"), "table");
}
