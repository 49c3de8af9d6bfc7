#include "core/resources/ResourcePack.h"

#include <gtest/gtest.h>

#include "core/resources/RccFormat.h"
#include "core/resources/RccWriter.h"
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

TEST(ResourcePack, EveryTruncationAndEveryFlippedByteIsRejectedWithALogLine) {
    const std::string pack = samplePack();
    LogCapture log;
    ResourcePack reader;
    for (std::size_t n = 0; n < pack.size(); ++n) EXPECT_FALSE(reader.load(pack.substr(0, n))) << n;
    for (std::size_t i = 0; i < pack.size(); ++i) {
        std::string damaged = pack;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x40);
        EXPECT_FALSE(reader.load(damaged)) << i;
        EXPECT_FALSE(reader.isOpen());
        EXPECT_EQ(reader.entry("skin/main.xml"), std::nullopt);
    }
    EXPECT_GE(log.all().size(), 2 * pack.size());
}

TEST(ResourcePack, OffsetsSizesAndCountsThatLieAreRejectedEvenWithARightChecksum) {
    const std::string pack = samplePack();
    ResourcePack reader;
    ASSERT_TRUE(reader.load(resealed(pack)));
    const std::size_t first = kHeaderBytes; // first entry record: name length, offset, size
    const std::pair<std::size_t, std::uint64_t> lies[] = {
        {first + 4, UINT64_MAX},  {first + 4, pack.size()},  {first + 4, 0},
        {first + 12, UINT64_MAX}, {first + 12, pack.size()}, {first + 12, UINT64_MAX - 30},
    };
    for (const auto& [at, value] : lies) {
        std::string damaged = pack;
        putU64(damaged, at, value);
        EXPECT_FALSE(reader.load(resealed(damaged))) << at << " " << value;
    }
    for (const std::uint32_t nameLength : {0u, 0xFFFFFFFFu, 5000u}) {
        std::string damaged = pack;
        putU32(damaged, first, nameLength);
        EXPECT_FALSE(reader.load(resealed(damaged))) << nameLength;
    }
    for (const auto& [at, value] : {std::pair{12, 0xFFFFFFFFu}, {16, 0xFFFFFFFFu}, {16, 3u}, {8, 2u}}) {
        std::string damaged = pack;
        putU32(damaged, at, value);
        EXPECT_FALSE(reader.load(resealed(damaged))) << at;
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
