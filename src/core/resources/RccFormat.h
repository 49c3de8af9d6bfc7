#pragma once
// The resource pack "rqresource.rcc": the skin files and the language table in one file beside the program.
//
// Layout (all numbers little-endian, offsets from the start of the file):
//
//   offset  size  field
//   0       8     magic "KVRCC\r\n\x1a" (the line-end bytes catch text-mode copies that rewrite them)
//   8       4     format version, 1
//   12      4     entry count
//   16      4     size in bytes of the entry table that follows the header
//   20      4     CRC-32 (IEEE, as zlib computes it) of every byte after the header: table and data
//   24      ...   entry table, one record per entry:
//                   4  name length in bytes (1..1024)
//                   8  data offset
//                   8  data size
//                   n  name: UTF-8, "/" between folders, no terminator
//   ...     ...   entry data, each entry's bytes at its offset (after the table, inside the file)
//
// Names are unique; the packer writes entries sorted by name, so the same inputs give the same file. This
// header holds only the constants and the checksum, shared by the packer tool (built for the build machine)
// and the reader in the core.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace common::rcc {

inline constexpr std::string_view kMagic{"KVRCC\r\n\x1a", 8};
inline constexpr std::uint32_t kVersion = 1;
inline constexpr std::size_t kHeaderBytes = 24;
inline constexpr std::size_t kEntryFixedBytes = 20; // name length, offset, size
inline constexpr std::size_t kMaxNameBytes = 1024;

namespace detail {
constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[i] = c;
    }
    return table;
}
inline constexpr auto kCrcTable = makeCrcTable();
} // namespace detail

// CRC-32 of `bytes`, continuing from `crc` (0 to start).
inline std::uint32_t crc32(std::string_view bytes, std::uint32_t crc = 0) {
    crc = ~crc;
    for (const char ch : bytes) crc = detail::kCrcTable[(crc ^ static_cast<unsigned char>(ch)) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace common::rcc
