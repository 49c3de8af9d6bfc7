#include "core/resources/RccWriter.h"

#include <algorithm>
#include <cstdint>

#include "core/resources/RccFormat.h"

namespace common::rcc {

namespace {

void putLittleEndian(std::string& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool namesAreValid(const std::vector<RccEntry>& sorted) {
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const std::string& name = sorted[i].name;
        if (name.empty() || name.size() > kMaxNameBytes) return false;
        if (i > 0 && sorted[i - 1].name == name) return false;
    }
    return true;
}

} // namespace

std::optional<std::string> buildPack(std::vector<RccEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const RccEntry& a, const RccEntry& b) { return a.name < b.name; });
    if (!namesAreValid(entries)) return std::nullopt;

    std::uint64_t tableBytes = 0;
    for (const auto& e : entries) tableBytes += kEntryFixedBytes + e.name.size();
    if (tableBytes > UINT32_MAX || entries.size() > UINT32_MAX) return std::nullopt;

    std::string body; // table, then data
    std::uint64_t offset = kHeaderBytes + tableBytes;
    for (const auto& e : entries) {
        putLittleEndian(body, e.name.size(), 4);
        putLittleEndian(body, offset, 8);
        putLittleEndian(body, e.data.size(), 8);
        body += e.name;
        offset += e.data.size();
    }
    for (const auto& e : entries) body += e.data;

    std::string pack(kMagic);
    putLittleEndian(pack, kVersion, 4);
    putLittleEndian(pack, entries.size(), 4);
    putLittleEndian(pack, tableBytes, 4);
    putLittleEndian(pack, crc32(body), 4);
    return pack + body;
}

} // namespace common::rcc
