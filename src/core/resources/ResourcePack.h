#pragma once
// Reading the resource pack "rqresource.rcc" (format in RccFormat.h): open it, then ask for an entry's bytes.
//
// The whole pack is checked when it is opened: magic, version, checksum, and every entry's name, offset and
// size against the file's real size. A pack that fails any check opens as empty and says why in the log; it
// never reads outside its bytes, whatever the file claims.

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common::rcc {

// Packs above this size are not read at all.
inline constexpr std::uint64_t kMaxPackBytes = 256ull * 1024 * 1024;

class ResourcePack {
public:
    ResourcePack() = default;

    // Reads and checks the pack file; false (and an empty pack) when it is missing or damaged.
    [[nodiscard]] bool open(const std::filesystem::path& path);
    // The same from bytes already in memory.
    bool load(std::string bytes);

    bool isOpen() const { return m_open; }
    // The entry's bytes, or nothing when the pack holds no entry of that name.
    std::optional<std::string_view> entry(std::string_view name) const;
    std::vector<std::string> names() const;

private:
    struct Span {
        std::uint64_t offset;
        std::uint64_t size;
    };
    bool parse();
    void clear();

    std::string m_bytes;
    std::map<std::string, Span, std::less<>> m_entries;
    bool m_open = false;
};

} // namespace common::rcc
