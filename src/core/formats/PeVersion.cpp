#include "core/formats/PeVersion.h"

#include <vector>

#include "core/formats/ByteView.h"
#include "core/formats/FileBytes.h"
#include "core/log/Log.h"

namespace common::formats {

namespace {

constexpr std::uint32_t kMaxHeaderOffset = 16u * 1024 * 1024;
constexpr std::uint32_t kMaxSections = 1024;
constexpr std::uint32_t kMaxResourceSection = 64u * 1024 * 1024;
constexpr std::uint32_t kMaxVersionResource = 1024 * 1024;
constexpr std::uint32_t kResourceTypeVersion = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BDu;

struct Section {
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawOffset;
    std::uint32_t rawSize;
};

// Bytes [offset, offset + count) of the source, only when all of them are there.
std::optional<std::string> readExactly(const ByteSource& source, std::uint64_t offset, std::uint32_t count) {
    auto bytes = source(offset, count);
    if (!bytes || bytes->size() != count) return std::nullopt;
    return bytes;
}

class PeVersionReader {
public:
    explicit PeVersionReader(const ByteSource& source) : m_source(source) {}

    std::optional<FileVersion> read() {
        const auto resourceRva = resourceDirectoryRva();
        if (!resourceRva) return std::nullopt;
        const auto dataEntry = versionDataEntry(*resourceRva);
        if (!dataEntry) return std::nullopt;
        const auto version = readVersionData(dataEntry->first, dataEntry->second);
        if (!version) KVLOG(L"version resource is damaged");
        return version;
    }

private:
    // DOS header → PE header → optional header's resource directory, and the section table.
    std::optional<std::uint32_t> resourceDirectoryRva() {
        const auto dos = readExactly(m_source, 0, 64);
        if (!dos || dos->substr(0, 2) != "MZ") return fail(L"not an executable (no MZ header)");
        const std::uint32_t peOffset = *ByteView(*dos).u32(0x3C);
        if (peOffset > kMaxHeaderOffset) return fail(L"PE header offset out of range");
        const auto pe = readExactly(m_source, peOffset, 24);
        if (!pe || pe->substr(0, 4) != std::string_view("PE\0\0", 4)) return fail(L"no PE signature");
        const ByteView coff(*pe);
        const std::uint16_t sectionCount = *coff.u16(6);
        const std::uint16_t optionalSize = *coff.u16(20);
        const auto optional = readExactly(m_source, peOffset + 24ull, optionalSize);
        if (!optional || sectionCount > kMaxSections) return fail(L"PE headers cut short");
        if (!readSections(peOffset + 24ull + optionalSize, sectionCount)) return fail(L"section table cut short");
        return resourceRvaFrom(ByteView(*optional));
    }

    std::optional<std::uint32_t> resourceRvaFrom(ByteView optional) {
        const auto magic = optional.u16(0);
        // PE32 keeps its data directories at 96, PE32+ at 112; the count of directories sits just before.
        const std::uint64_t directories = magic == 0x10B ? 96 : (magic == 0x20B ? 112 : 0);
        if (directories == 0) return fail(L"unknown optional header");
        const auto count = optional.u32(directories - 4);
        const auto rva = optional.u32(directories + 2 * 8);
        const auto size = optional.u32(directories + 2 * 8 + 4);
        if (!count || *count < 3 || !rva || !size || *rva == 0 || *size == 0) return fail(L"no resources");
        return *rva;
    }

    bool readSections(std::uint64_t offset, std::uint16_t count) {
        const auto table = readExactly(m_source, offset, count * 40u);
        if (!table) return false;
        const ByteView view(*table);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t at = i * 40ull;
            m_sections.push_back({*view.u32(at + 12), *view.u32(at + 8), *view.u32(at + 20), *view.u32(at + 16)});
        }
        return true;
    }

    // The file offset of an RVA and how many bytes of its section follow it in the file.
    std::optional<std::pair<std::uint64_t, std::uint32_t>> fileRange(std::uint32_t rva) const {
        for (const auto& s : m_sections) {
            const std::uint64_t start = s.virtualAddress;
            if (rva < start || rva - start >= s.rawSize) continue;
            return std::pair<std::uint64_t, std::uint32_t>{s.rawOffset + (rva - start), s.rawSize - (rva - start)};
        }
        return std::nullopt;
    }

    // Resource directory: type 16 → first name → first language → data entry (RVA, size).
    std::optional<std::pair<std::uint32_t, std::uint32_t>> versionDataEntry(std::uint32_t resourceRva) {
        const auto range = fileRange(resourceRva);
        if (!range) return fail(L"resource directory outside the file");
        const std::uint32_t length = std::min(range->second, kMaxResourceSection);
        const auto section = readExactly(m_source, range->first, length);
        if (!section) return fail(L"resource section cut short");
        const ByteView rsrc(*section);
        auto next = findEntry(rsrc, 0, kResourceTypeVersion);
        if (!next || !(*next & kHighBit)) return fail(L"no version resource");
        next = findEntry(rsrc, *next & ~kHighBit, std::nullopt);
        if (!next || !(*next & kHighBit)) return fail(L"version resource directory damaged");
        next = findEntry(rsrc, *next & ~kHighBit, std::nullopt);
        if (!next || (*next & kHighBit)) return fail(L"version resource directory damaged");
        const auto dataRva = rsrc.u32(*next);
        const auto dataSize = rsrc.u32(*next + 4ull);
        if (!dataRva || !dataSize) return fail(L"version resource entry cut short");
        return std::pair{*dataRva, *dataSize};
    }

    // The entry's data field in the directory at `offset`: the entry with the id, or the first entry.
    static std::optional<std::uint32_t> findEntry(ByteView rsrc, std::uint32_t offset,
                                                  std::optional<std::uint32_t> id) {
        const auto named = rsrc.u16(offset + 12ull);
        const auto ids = rsrc.u16(offset + 14ull);
        if (!named || !ids) return std::nullopt;
        const std::uint32_t total = static_cast<std::uint32_t>(*named) + *ids;
        for (std::uint32_t i = 0; i < total; ++i) {
            const std::uint64_t at = offset + 16ull + i * 8ull;
            const auto name = rsrc.u32(at);
            const auto data = rsrc.u32(at + 4);
            if (!name || !data) return std::nullopt;
            if (!id || (!(*name & kHighBit) && *name == *id)) return *data;
        }
        return std::nullopt;
    }

    // VS_VERSIONINFO: length, value length, type, "VS_VERSION_INFO", padding, VS_FIXEDFILEINFO.
    std::optional<FileVersion> readVersionData(std::uint32_t rva, std::uint32_t size) {
        const auto range = fileRange(rva);
        if (!range || size > range->second || size > kMaxVersionResource || size < 92) return std::nullopt;
        const auto data = readExactly(m_source, range->first, size);
        if (!data) return std::nullopt;
        const ByteView info(*data);
        static constexpr char16_t kKey[] = u"VS_VERSION_INFO";
        for (std::size_t i = 0; i < 16; ++i) {
            if (info.u16(6 + 2 * i) != static_cast<std::uint16_t>(kKey[i])) return std::nullopt;
        }
        const auto valueLength = info.u16(2);
        const auto signature = info.u32(40);
        if (!valueLength || *valueLength < 52 || signature != kFixedFileInfoSignature) return std::nullopt;
        const std::uint32_t high = *info.u32(48);
        const std::uint32_t low = *info.u32(52);
        return FileVersion{static_cast<std::uint16_t>(high >> 16), static_cast<std::uint16_t>(high & 0xFFFF),
                           static_cast<std::uint16_t>(low >> 16), static_cast<std::uint16_t>(low & 0xFFFF)};
    }

    std::nullopt_t fail(const wchar_t* why) {
        KVLOG(L"no file version: %s", why);
        return std::nullopt;
    }

    const ByteSource& m_source;
    std::vector<Section> m_sections;
};

} // namespace

std::wstring FileVersion::text() const {
    return std::to_wstring(major) + L'.' + std::to_wstring(minor) + L'.' + std::to_wstring(build) + L'.' +
           std::to_wstring(revision);
}

std::optional<FileVersion> readFileVersionFrom(const ByteSource& source) {
    return PeVersionReader(source).read();
}

std::optional<FileVersion> readFileVersion(std::string_view peImage) {
    const ByteView view(peImage);
    return readFileVersionFrom([view](std::uint64_t offset, std::uint32_t count) -> std::optional<std::string> {
        if (offset > view.size()) return std::nullopt;
        const std::uint64_t available = std::min<std::uint64_t>(count, view.size() - offset);
        return std::string(*view.slice(offset, available));
    });
}

std::optional<FileVersion> readFileVersionOfFile(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        KVLOG(L"no file version: %s is not a file", file.wstring());
        return std::nullopt;
    }
    return readFileVersionFrom(
        [&file](std::uint64_t offset, std::uint32_t count) { return readFileRange(file, offset, count); });
}

std::wstring fileVersionText(const std::filesystem::path& file) {
    const auto version = readFileVersionOfFile(file);
    return version ? version->text() : std::wstring();
}

} // namespace common::formats
