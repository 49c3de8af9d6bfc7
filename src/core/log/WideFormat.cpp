#include "core/log/WideFormat.h"

#include <algorithm>
#include <cstdio>

#include "core/text/Utf.h"

namespace common::fmt {
namespace {

constexpr int kMaxWidth = 10240; // no output line is longer than the log's buffer
constexpr int kMaxFloatPrecision = 100;

bool isHighSurrogate(wchar_t c) {
    return sizeof(wchar_t) == 2 && (static_cast<std::uint32_t>(c) & 0xFC00) == 0xD800;
}

struct Spec {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1; // -1: none given
    wchar_t type = 0;
};

std::uint64_t maskToWidth(std::uint64_t v, std::uint8_t bytes) {
    return bytes >= 8 || bytes == 0 ? v : v & ((std::uint64_t{1} << (bytes * 8)) - 1);
}

std::int64_t signExtend(std::uint64_t v, std::uint8_t bytes) {
    if (bytes >= 8 || bytes == 0) return static_cast<std::int64_t>(v);
    const unsigned bits = bytes * 8u;
    const std::uint64_t sign = std::uint64_t{1} << (bits - 1);
    v = maskToWidth(v, bytes);
    return static_cast<std::int64_t>((v ^ sign) - sign);
}

void pad(WideOut& out, int n, wchar_t c = L' ') {
    if (n > 0) out.fill(c, static_cast<std::size_t>(n));
}

// Writes `body` (already converted) with the width and alignment of `spec`.
void putAligned(WideOut& out, const Spec& spec, const wchar_t* body, std::size_t n) {
    const int padding = spec.width - static_cast<int>(n);
    if (!spec.left) pad(out, padding);
    out.put(body, n);
    if (spec.left) pad(out, padding);
}

void putInteger(WideOut& out, const Spec& spec, std::uint64_t magnitude, bool negative, bool isSigned) {
    wchar_t digits[72];
    int n = 0;
    const int base = spec.type == L'o' ? 8 : (spec.type == L'x' || spec.type == L'X') ? 16 : 10;
    const wchar_t* alphabet = spec.type == L'X' ? L"0123456789ABCDEF" : L"0123456789abcdef";
    for (std::uint64_t v = magnitude; v != 0; v /= static_cast<unsigned>(base))
        digits[n++] = alphabet[v % static_cast<unsigned>(base)];
    const int minDigits = spec.precision >= 0 ? std::min(spec.precision, 64) : 1;
    while (n < minDigits) digits[n++] = L'0';

    wchar_t prefix[3];
    int prefixLen = 0;
    if (isSigned) {
        if (negative)
            prefix[prefixLen++] = L'-';
        else if (spec.plus)
            prefix[prefixLen++] = L'+';
        else if (spec.space)
            prefix[prefixLen++] = L' ';
    }
    if (spec.alternate && magnitude != 0) {
        if (base == 16)
            prefix[prefixLen++] = L'0', prefix[prefixLen++] = spec.type;
        else if (base == 8 && digits[n - 1] != L'0')
            prefix[prefixLen++] = L'0';
    }

    const int total = prefixLen + n;
    const bool zeroPad = spec.zero && !spec.left && spec.precision < 0;
    if (!spec.left && !zeroPad) pad(out, spec.width - total);
    out.put(prefix, static_cast<std::size_t>(prefixLen));
    if (zeroPad) pad(out, spec.width - total, L'0');
    while (n > 0) out.put(digits[--n]);
    if (spec.left) pad(out, spec.width - total);
}

void putFloat(WideOut& out, const Spec& spec, double value) {
    char fmt[16];
    int f = 0;
    fmt[f++] = '%';
    if (spec.left) fmt[f++] = '-';
    if (spec.plus) fmt[f++] = '+';
    if (spec.space) fmt[f++] = ' ';
    if (spec.alternate) fmt[f++] = '#';
    if (spec.zero) fmt[f++] = '0';
    fmt[f++] = '*';
    fmt[f++] = '.';
    fmt[f++] = '*';
    fmt[f++] = static_cast<char>(spec.type);
    fmt[f] = '\0';
    char buf[512];
    const int width = std::min(spec.width, 200);
    const int precision = spec.precision < 0 ? 6 : std::min(spec.precision, kMaxFloatPrecision);
    int len = std::snprintf(buf, sizeof buf, fmt, width, precision, value);
    if (len < 0) return;
    len = std::min<int>(len, sizeof buf - 1);
    Spec rest = spec; // widths beyond what snprintf was given are padded here
    rest.width = spec.width > width ? spec.width : 0;
    wchar_t wide[512];
    const std::size_t n = text::appendWide(wide, 512, std::string_view(buf, static_cast<std::size_t>(len)));
    putAligned(out, rest, wide, n);
}

void putText(WideOut& out, const Spec& spec, const Arg& arg) {
    static constexpr wchar_t kNull[] = L"(null)";
    if (arg.kind == Arg::Kind::Wide) {
        std::size_t n = arg.w.data ? arg.w.size : 6;
        const wchar_t* s = arg.w.data ? arg.w.data : kNull;
        if (spec.precision >= 0) n = std::min(n, static_cast<std::size_t>(spec.precision));
        putAligned(out, spec, s, n);
        return;
    }
    // Narrow text is converted first so that width and precision count wide characters.
    const char* s = arg.n.data ? arg.n.data : "(null)";
    const std::size_t len = arg.n.data ? arg.n.size : 6;
    if (spec.width == 0 && spec.precision < 0) {
        out.putUtf8(s, len);
        return;
    }
    std::wstring wide = text::fromUtf8(std::string_view(s, len));
    if (spec.precision >= 0 && wide.size() > static_cast<std::size_t>(spec.precision))
        wide.resize(static_cast<std::size_t>(spec.precision));
    putAligned(out, spec, wide.data(), wide.size());
}

void putPointer(WideOut& out, const Spec& spec, std::uint64_t v) {
    Spec hex = spec; // Windows prints pointers as 16 upper-case hex digits on x64
    hex.type = L'X';
    hex.precision = 16;
    hex.alternate = false;
    putInteger(out, hex, v, false, false);
}

// Prints an argument in its own natural form, for conversions that do not fit its type.
void putNatural(WideOut& out, const Spec& spec, const Arg& arg) {
    Spec s = spec;
    switch (arg.kind) {
    case Arg::Kind::Signed:
        s.type = L'd';
        putInteger(out, s, arg.i < 0 ? 0 - static_cast<std::uint64_t>(arg.i) : static_cast<std::uint64_t>(arg.i),
                   arg.i < 0, true);
        break;
    case Arg::Kind::Unsigned:
        s.type = L'u';
        putInteger(out, s, arg.u, false, false);
        break;
    case Arg::Kind::Float:
        s.type = L'g';
        putFloat(out, s, arg.d);
        break;
    case Arg::Kind::Wide:
    case Arg::Kind::Narrow:
        putText(out, s, arg);
        break;
    case Arg::Kind::Pointer:
        putPointer(out, s, reinterpret_cast<std::uintptr_t>(arg.p));
        break;
    case Arg::Kind::None:
        break;
    }
}

void putConversion(WideOut& out, const Spec& spec, const Arg& arg) {
    switch (spec.type) {
    case L'd':
    case L'i':
        if (arg.kind == Arg::Kind::Signed || arg.kind == Arg::Kind::Unsigned) {
            const std::int64_t v = arg.kind == Arg::Kind::Signed ? arg.i : signExtend(arg.u, arg.bytes);
            putInteger(out, spec, v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v), v < 0,
                       true);
            return;
        }
        break;
    case L'u':
    case L'x':
    case L'X':
    case L'o':
        if (arg.kind == Arg::Kind::Signed || arg.kind == Arg::Kind::Unsigned) {
            putInteger(out, spec, maskToWidth(arg.u, arg.bytes), false, false);
            return;
        }
        break;
    case L'c':
    case L'C':
        if (arg.kind == Arg::Kind::Signed || arg.kind == Arg::Kind::Unsigned) {
            const wchar_t c = static_cast<wchar_t>(arg.u);
            putAligned(out, spec, &c, 1);
            return;
        }
        break;
    case L's':
    case L'S':
    case L'Z':
        if (arg.kind == Arg::Kind::Wide || arg.kind == Arg::Kind::Narrow) {
            putText(out, spec, arg);
            return;
        }
        break;
    case L'f':
    case L'F':
    case L'e':
    case L'E':
    case L'g':
    case L'G':
    case L'a':
    case L'A':
        if (arg.kind == Arg::Kind::Float) {
            putFloat(out, spec, arg.d);
            return;
        }
        if (arg.kind == Arg::Kind::Signed) {
            putFloat(out, spec, static_cast<double>(arg.i));
            return;
        }
        if (arg.kind == Arg::Kind::Unsigned) {
            putFloat(out, spec, static_cast<double>(arg.u));
            return;
        }
        break;
    case L'p':
        if (arg.kind == Arg::Kind::Pointer) {
            putPointer(out, spec, reinterpret_cast<std::uintptr_t>(arg.p));
            return;
        }
        if (arg.kind == Arg::Kind::Signed || arg.kind == Arg::Kind::Unsigned) {
            putPointer(out, spec, maskToWidth(arg.u, arg.bytes));
            return;
        }
        break;
    default:
        break;
    }
    putNatural(out, spec, arg);
}

int readNumber(std::wstring_view f, std::size_t& i) {
    int v = 0;
    while (i < f.size() && f[i] >= L'0' && f[i] <= L'9') {
        v = std::min(v * 10 + (f[i] - L'0'), kMaxWidth);
        ++i;
    }
    return v;
}

// Reads an integer argument for '*'.
int starArgument(const Arg* args, std::size_t count, std::size_t& next) {
    if (next >= count) return 0;
    const Arg& a = args[next++];
    std::int64_t v = 0;
    if (a.kind == Arg::Kind::Signed)
        v = a.i;
    else if (a.kind == Arg::Kind::Unsigned)
        v = signExtend(a.u, a.bytes);
    return static_cast<int>(std::clamp<std::int64_t>(v, -kMaxWidth, kMaxWidth));
}

bool isConversion(wchar_t c) {
    return std::wstring_view(L"diuxXocCsSZfFeEgGaApn").find(c) != std::wstring_view::npos;
}

} // namespace

void WideOut::put(wchar_t c) {
    if (m_len < m_cap) {
        m_buf[m_len++] = c;
    } else {
        m_truncated = true;
    }
}

void WideOut::put(const wchar_t* s, std::size_t n) {
    const std::size_t room = m_cap - m_len;
    if (n > room) {
        n = room;
        if (n > 0 && isHighSurrogate(s[n - 1])) --n; // never leave half a pair at the end
        m_truncated = true;
    }
    std::copy(s, s + n, m_buf + m_len);
    m_len += n;
}

void WideOut::putUtf8(const char* s, std::size_t n) {
    std::size_t consumed = 0;
    m_len += text::appendWide(m_buf + m_len, m_cap - m_len, std::string_view(s, n), &consumed);
    if (consumed < n) m_truncated = true;
}

void WideOut::fill(wchar_t c, std::size_t n) {
    const std::size_t room = m_cap - m_len;
    if (n > room) {
        n = room;
        m_truncated = true;
    }
    std::fill_n(m_buf + m_len, n, c);
    m_len += n;
}

void formatTo(WideOut& out, std::wstring_view f, const Arg* args, std::size_t count) {
    std::size_t next = 0;
    std::size_t i = 0;
    while (i < f.size()) {
        const std::size_t plain = f.find(L'%', i);
        const std::size_t end = plain == std::wstring_view::npos ? f.size() : plain;
        out.put(f.data() + i, end - i);
        if (end == f.size() || out.truncated()) return;
        const std::size_t start = end;
        i = end + 1;
        if (i < f.size() && f[i] == L'%') {
            out.put(L'%');
            ++i;
            continue;
        }
        Spec spec;
        for (; i < f.size(); ++i) {
            const wchar_t c = f[i];
            if (c == L'-')
                spec.left = true;
            else if (c == L'+')
                spec.plus = true;
            else if (c == L' ')
                spec.space = true;
            else if (c == L'#')
                spec.alternate = true;
            else if (c == L'0')
                spec.zero = true;
            else
                break;
        }
        if (i < f.size() && f[i] == L'*') {
            ++i;
            spec.width = starArgument(args, count, next);
            if (spec.width < 0) spec.left = true, spec.width = -spec.width;
        } else {
            spec.width = readNumber(f, i);
        }
        if (i < f.size() && f[i] == L'.') {
            ++i;
            if (i < f.size() && f[i] == L'*') {
                ++i;
                spec.precision = starArgument(args, count, next);
                if (spec.precision < 0) spec.precision = -1;
            } else {
                spec.precision = readNumber(f, i);
            }
        }
        // Size prefixes only told the C library how wide the argument was; our arguments carry their type.
        while (i < f.size() && std::wstring_view(L"hlLqwzjtI").find(f[i]) != std::wstring_view::npos) {
            const bool sized = f[i] == L'I' && (f.substr(i, 3) == L"I64" || f.substr(i, 3) == L"I32");
            i += sized ? 3 : 1;
        }
        if (i >= f.size() || !isConversion(f[i])) {
            // Not a conversion: print it as written.
            const std::size_t stop = std::min(i + 1, f.size());
            out.put(f.data() + start, stop - start);
            i = stop;
            continue;
        }
        spec.type = f[i++];
        if (next >= count) continue; // missing argument: nothing to print
        const Arg& arg = args[next++];
        if (spec.type == L'n') continue; // never write through an argument
        putConversion(out, spec, arg);
    }
}

} // namespace common::fmt
