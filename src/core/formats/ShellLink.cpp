#include "core/formats/ShellLink.h"

#include "core/formats/ByteView.h"
#include "core/formats/FileBytes.h"
#include "core/log/Log.h"
#include "core/text/Utf.h"

namespace common::formats {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::string_view kLinkClsid{"\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16};

enum LinkFlags : std::uint32_t {
    HasLinkTargetIdList = 0x1,
    HasLinkInfo = 0x2,
    HasName = 0x4,
    HasRelativePath = 0x8,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
    ForceNoLinkInfo = 0x100,
};
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001u;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;

bool isUtf8(std::string_view s) {
    return text::toUtf8(text::fromUtf8(s)) == s;
}

// A string in the writer's code page (see the header comment).
std::wstring fromCodePage(std::string_view s) {
    if (isUtf8(s)) return text::fromUtf8(s);
    std::wstring out;
    for (const char c : s) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return out;
}

// UTF-16 code units from the file as a wide string; the native build's UTF-32 strings get surrogate pairs
// joined and lone surrogates replaced.
std::wstring fromUtf16(ByteView view, std::uint64_t offset, std::uint64_t chars) {
    std::wstring out;
    for (std::uint64_t i = 0; i < chars; ++i) {
        std::uint32_t c = view.u16(offset + 2 * i).value_or(0xFFFD);
        if constexpr (sizeof(wchar_t) > 2) {
            const std::uint32_t next = i + 1 < chars ? view.u16(offset + 2 * (i + 1)).value_or(0) : 0;
            if (c >= 0xD800 && c < 0xDC00 && next >= 0xDC00 && next < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            } else if (c >= 0xD800 && c < 0xE000) {
                c = 0xFFFD;
            }
        }
        out.push_back(static_cast<wchar_t>(c));
    }
    return out;
}

// A NUL-terminated string at `offset` inside `view`, or nothing when no terminator comes before its end.
std::optional<std::string_view> rawCString(ByteView view, std::uint64_t offset) {
    const std::string_view rest = view.tail(offset).bytes();
    const std::size_t end = rest.find('\0');
    if (!view.has(offset, 1) || end == std::string_view::npos) return std::nullopt;
    return rest.substr(0, end);
}

std::optional<std::wstring> cString(ByteView view, std::uint64_t offset) {
    const auto raw = rawCString(view, offset);
    return raw ? std::optional<std::wstring>(fromCodePage(*raw)) : std::nullopt;
}

std::optional<std::wstring> cString16(ByteView view, std::uint64_t offset) {
    for (std::uint64_t i = 0;; ++i) {
        const auto unit = view.u16(offset + 2 * i);
        if (!unit) return std::nullopt;
        if (*unit == 0) return fromUtf16(view, offset, i);
    }
}

class ShellLinkReader {
public:
    explicit ShellLinkReader(std::string_view bytes) : m_view(bytes) {}

    std::optional<ShellLink> read() {
        if (m_view.u32(0) != kHeaderSize || m_view.slice(4, 16) != kLinkClsid) return fail(L"no shell-link header");
        m_flags = *m_view.u32(20);
        std::uint64_t at = kHeaderSize;
        std::wstring idListPath;
        if (m_flags & HasLinkTargetIdList) {
            const auto size = m_view.u16(at);
            if (!size || !m_view.has(at + 2, *size)) return fail(L"item-id list cut short");
            idListPath = pathFromIdList(m_view.sub(at + 2, *size));
            at += 2ull + *size;
        }
        std::wstring linkInfoPath;
        if (m_flags & HasLinkInfo) {
            const auto size = m_view.u32(at);
            if (!size || *size < 0x1C || !m_view.has(at, *size)) return fail(L"link info cut short");
            if (!(m_flags & ForceNoLinkInfo)) linkInfoPath = pathFromLinkInfo(m_view.sub(at, *size));
            at += *size;
        }
        ShellLink link;
        if (!readStrings(at, link)) return fail(L"string data cut short");
        link.targetPath = !linkInfoPath.empty() ? linkInfoPath : !idListPath.empty() ? idListPath : envTarget(at);
        return link;
    }

private:
    std::nullopt_t fail(const wchar_t* why) {
        KVLOG(L"shell link unreadable: %s", why);
        return std::nullopt;
    }

    // Local base path + common path suffix, or network share name + suffix. A link-info header of 0x24
    // bytes or more also holds Unicode forms of both paths, used unless their offset is 0.
    static std::wstring pathFromLinkInfo(ByteView info) {
        const bool hasUnicode = *info.u32(4) >= 0x24 && info.has(0, 0x24);
        const auto path = [&](std::uint64_t ansiField, std::uint64_t unicodeField) {
            const std::uint32_t unicodeAt = hasUnicode ? *info.u32(unicodeField) : 0;
            return unicodeAt != 0 ? cString16(info, unicodeAt) : cString(info, *info.u32(ansiField));
        };
        const std::uint32_t flags = *info.u32(8);
        const std::wstring suffix = path(0x18, 0x20).value_or(L"");
        if (flags & 0x1) {
            const auto base = path(0x10, 0x1C);
            return base ? *base + suffix : std::wstring();
        }
        if (flags & 0x2) {
            const ByteView network = info.tail(*info.u32(0x14));
            const auto netNameOffset = network.u32(8);
            const auto netName = netNameOffset ? cString(network, *netNameOffset) : std::nullopt;
            if (!netName) return {};
            return suffix.empty() ? *netName : *netName + L"\\" + suffix;
        }
        return {};
    }

    // Drive item ("C:\") followed by folder and file items; root items (the computer) add nothing.
    static std::wstring pathFromIdList(ByteView list) {
        std::wstring path;
        std::uint64_t at = 0;
        for (;;) {
            const auto size = list.u16(at);
            if (!size) return {}; // no terminating empty item
            if (*size == 0) return path;
            if (*size < 3 || !list.has(at, *size)) return {};
            const ByteView item = list.sub(at, *size);
            const std::uint8_t type = item.u8(2).value_or(0);
            if ((type & 0x70) == 0x20) {
                path = cString(item, 3).value_or(L"");
            } else if ((type & 0x70) == 0x30) {
                const std::wstring name = fileItemName(item, type);
                if (name.empty()) return {};
                if (!path.empty() && path.back() != L'\\') path += L'\\';
                path += name;
            }
            at += *size;
        }
    }

    // A file entry item: the long name from its 0xBEEF0004 extension block when there is one, else its
    // primary name (on Windows the 8.3 short name, which still names the same file).
    static std::wstring fileItemName(ByteView item, std::uint8_t type) {
        const bool unicode = type & 0x04;
        const auto raw = unicode ? std::nullopt : rawCString(item, 14);
        const auto primary = unicode ? cString16(item, 14) : cString(item, 14);
        if (!primary) return {};
        const std::uint64_t nameBytes = unicode ? (primary->size() + 1) * 2 : raw->size() + 1;
        const std::uint64_t extension = (14 + nameBytes + 1) & ~std::uint64_t{1}; // padded to an even offset
        const auto extSize = item.u16(extension);
        const auto version = item.u16(extension + 2);
        if (!extSize || *extSize < 8 || !version || item.u32(extension + 4) != 0xBEEF0004u ||
            !item.has(extension, *extSize)) {
            return *primary;
        }
        const std::uint64_t nameAt = *version >= 9 ? 46 : *version >= 8 ? 42 : *version >= 7 ? 38 : 20;
        const ByteView block = item.sub(extension, *extSize - 2); // the block ends with a 2-byte offset
        const auto longName = cString16(block, nameAt);
        return longName && !longName->empty() ? *longName : *primary;
    }

    bool readStrings(std::uint64_t& at, ShellLink& link) const {
        const std::pair<std::uint32_t, std::wstring*> fields[] = {
            {HasName, &link.description},
            {HasRelativePath, &link.relativePath},
            {HasWorkingDir, &link.workingDirectory},
            {HasArguments, &link.arguments},
            {HasIconLocation, nullptr},
        };
        for (const auto& [flag, out] : fields) {
            if (!(m_flags & flag)) continue;
            const auto chars = m_view.u16(at);
            const std::uint64_t bytes = chars ? (m_flags & IsUnicode ? 2ull : 1ull) * *chars : 0;
            if (!chars || !m_view.has(at + 2, bytes)) return false;
            if (out) {
                *out = (m_flags & IsUnicode) ? fromUtf16(m_view, at + 2, *chars)
                                             : fromCodePage(*m_view.slice(at + 2, bytes));
                // Wine counts the terminating NUL in the length (Windows does not): the text ends at the first.
                out->resize(std::min(out->size(), out->find(L'\0')));
            }
            at += 2 + bytes;
        }
        return true;
    }

    // The target of the environment-variable data block, unexpanded ("%ProgramFiles%\...").
    std::wstring envTarget(std::uint64_t at) const {
        for (int blocks = 0; blocks < 64; ++blocks) {
            const auto size = m_view.u32(at);
            const auto signature = m_view.u32(at + 4);
            if (!size || *size < 8 || !signature || !m_view.has(at, *size)) return {};
            if (*signature == kEnvironmentBlock && *size >= kEnvironmentBlockSize) {
                const auto wide = cString16(m_view.sub(at + 268, 520), 0);
                if (wide && !wide->empty()) return *wide;
                return cString(m_view.sub(at + 8, 260), 0).value_or(L"");
            }
            at += *size;
        }
        return {};
    }

    ByteView m_view;
    std::uint32_t m_flags = 0;
};

} // namespace

std::optional<ShellLink> readShellLink(std::string_view bytes) {
    return ShellLinkReader(bytes).read();
}

std::optional<ShellLink> readShellLinkFile(const std::filesystem::path& file) {
    const auto bytes = readFileBytes(file, kMaxShellLinkBytes);
    if (!bytes) {
        KVLOG(L"shell link %s missing, unreadable or too large", file.wstring());
        return std::nullopt;
    }
    return readShellLink(std::string_view(*bytes));
}

} // namespace common::formats
