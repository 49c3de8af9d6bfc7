#include "core/resources/ResourcePack.h"

#include "core/formats/ByteView.h"
#include "core/formats/FileBytes.h"
#include "core/log/Log.h"
#include "core/resources/RccFormat.h"

namespace common::rcc {

using formats::ByteView;

bool ResourcePack::open(const std::filesystem::path& path) {
    auto bytes = formats::readFileBytes(path, kMaxPackBytes);
    if (!bytes) {
        clear();
        KVLOG(L"resource pack %s missing, unreadable or too large", path.wstring());
        return false;
    }
    return load(std::move(*bytes));
}

bool ResourcePack::load(std::string bytes) {
    clear();
    m_bytes = std::move(bytes);
    if (!parse()) {
        clear();
        return false;
    }
    m_open = true;
    return true;
}

void ResourcePack::clear() {
    m_bytes.clear();
    m_entries.clear();
    m_open = false;
}

bool ResourcePack::parse() {
    const ByteView view(m_bytes);
    const auto magic = view.slice(0, kMagic.size());
    if (!magic || *magic != kMagic || !view.has(0, kHeaderBytes)) {
        KVLOG(L"resource pack: not a pack (%lld bytes)", static_cast<long long>(m_bytes.size()));
        return false;
    }
    const std::uint32_t version = *view.u32(8);
    const std::uint32_t count = *view.u32(12);
    const std::uint32_t tableBytes = *view.u32(16);
    if (version != kVersion) {
        KVLOG(L"resource pack: version %u unknown", version);
        return false;
    }
    if (crc32(view.bytes().substr(kHeaderBytes)) != *view.u32(20)) {
        KVLOG(L"resource pack: checksum mismatch");
        return false;
    }
    const ByteView table = view.sub(kHeaderBytes, tableBytes);
    if (!view.has(kHeaderBytes, tableBytes) || count > tableBytes / kEntryFixedBytes) {
        KVLOG(L"resource pack: entry table of %u entries in %u bytes does not fit", count, tableBytes);
        return false;
    }
    const std::uint64_t dataStart = kHeaderBytes + static_cast<std::uint64_t>(tableBytes);
    std::uint64_t at = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto nameBytes = table.u32(at);
        const auto offset = table.u64(at + 4);
        const auto size = table.u64(at + 12);
        const auto name = nameBytes ? table.slice(at + kEntryFixedBytes, *nameBytes) : std::nullopt;
        if (!name || name->empty() || name->size() > kMaxNameBytes || !offset || !size || *offset < dataStart ||
            !view.has(*offset, *size)) {
            KVLOG(L"resource pack: entry %u is damaged", i);
            return false;
        }
        m_entries.emplace(std::string(*name), Span{*offset, *size}); // a repeated name keeps its first entry
        at += kEntryFixedBytes + name->size();
    }
    return true;
}

std::optional<std::string_view> ResourcePack::entry(std::string_view name) const {
    const auto it = m_entries.find(name);
    if (it == m_entries.end()) return std::nullopt;
    return std::string_view(m_bytes).substr(it->second.offset, it->second.size);
}

std::vector<std::string> ResourcePack::names() const {
    std::vector<std::string> out;
    for (const auto& [name, span] : m_entries) out.push_back(name);
    return out;
}

} // namespace common::rcc
