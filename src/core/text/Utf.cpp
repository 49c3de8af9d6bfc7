#include "core/text/Utf.h"

#include <cstdint>

namespace common::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Reads one code point from a wide string, combining UTF-16 surrogate pairs where wchar_t is 16 bits.
char32_t nextCodePoint(std::wstring_view s, std::size_t& i) {
    char32_t c = static_cast<char32_t>(s[i++]);
    if constexpr (sizeof(wchar_t) == 2) {
        c &= 0xFFFF;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i < s.size()) {
                const char32_t low = static_cast<char32_t>(s[i]) & 0xFFFF;
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    ++i;
                    return 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                }
            }
            return kReplacement;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) return kReplacement;
        return c;
    } else {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return kReplacement;
        return c;
    }
}

std::size_t encodeUtf8(char32_t c, char* out) {
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (c >> 12));
        out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F));
    return 4;
}

// Decodes one UTF-8 sequence; malformed, overlong or truncated sequences consume one byte and give U+FFFD.
char32_t nextUtf8(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<std::uint8_t>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    std::size_t len = 0;
    char32_t c = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + len > s.size()) {
        ++i;
        return kReplacement;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<std::uint8_t>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            ++i;
            return kReplacement;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        ++i;
        return kReplacement;
    }
    i += len;
    return c;
}

} // namespace

std::size_t appendUtf8(char* out, std::size_t capacity, std::wstring_view wide) {
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < wide.size()) {
        const wchar_t w = wide[i];
        if (static_cast<std::uint32_t>(w) < 0x80) { // ASCII fast path
            if (n == capacity) break;
            out[n++] = static_cast<char>(w);
            ++i;
            continue;
        }
        char buf[4];
        const std::size_t len = encodeUtf8(nextCodePoint(wide, i), buf);
        if (n + len > capacity) break;
        for (std::size_t k = 0; k < len; ++k) out[n++] = buf[k];
    }
    return n;
}

std::string toUtf8(std::wstring_view wide) {
    std::string out(wide.size() * 4, '\0');
    out.resize(appendUtf8(out.data(), out.size(), wide));
    return out;
}

std::size_t appendWide(wchar_t* out, std::size_t capacity, std::string_view utf8, std::size_t* consumed) {
    std::size_t n = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t next = i;
        const char32_t c = nextUtf8(utf8, next);
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            if (n + 2 > capacity) break;
            out[n++] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out[n++] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            if (n == capacity) break;
            out[n++] = static_cast<wchar_t>(c);
        }
        i = next;
    }
    if (consumed) *consumed = i;
    return n;
}

std::wstring fromUtf8(std::string_view utf8) {
    std::wstring out(utf8.size() * 2, L'\0');
    out.resize(appendWide(out.data(), out.size(), utf8));
    return out;
}

} // namespace common::text
