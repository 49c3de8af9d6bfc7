#pragma once
// Type-safe formatting with Windows wide-printf format strings.
//
// The program's log formats are written for Windows' wide printf: "%s" is a wide string, "%S" (or "%hs") a
// narrow one, "%d", "%u", "%x", "%08x", "%lld", "%I64d", "%f", "%c", "%p" and "%%" mean what they mean there.
// Arguments are captured with their real type, so a wrong letter can never read garbage: a narrow string
// given for "%s" is still printed as text (narrow strings are taken as UTF-8), a number given for "%s" is
// printed as a number, a missing argument prints nothing. "%n" is ignored. Output is cut at the buffer's
// capacity without splitting a surrogate pair.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <type_traits>

namespace common::fmt {

struct WideText {
    const wchar_t* data;
    std::size_t size;
};
struct NarrowText {
    const char* data;
    std::size_t size;
};

// One captured argument: its kind, its value and, for integers, the byte width of its original type (so
// "%x" of -1 held in an int prints "ffffffff", as on Windows).
struct Arg {
    enum class Kind : std::uint8_t { None, Signed, Unsigned, Float, Wide, Narrow, Pointer };
    Kind kind = Kind::None;
    std::uint8_t bytes = 0;
    union {
        std::int64_t i;
        std::uint64_t u;
        double d;
        const void* p;
        WideText w;
        NarrowText n;
    };
    Arg() : u(0) {}
};

template <class>
inline constexpr bool kUnsupportedArgument = false;

template <class T>
Arg makeArg(const T& value) {
    using D = std::decay_t<T>;
    Arg a;
    if constexpr (std::is_array_v<T>) { // string literals and character arrays
        using C = std::remove_cv_t<std::remove_extent_t<T>>;
        static_assert(std::is_same_v<C, wchar_t> || std::is_same_v<C, char>, "only character arrays can be formatted");
        return makeArg(std::basic_string_view<C>(value, std::char_traits<C>::length(value)));
    } else if constexpr (std::is_same_v<D, bool>) {
        a.kind = Arg::Kind::Signed, a.bytes = 4, a.i = value ? 1 : 0;
    } else if constexpr (std::is_enum_v<D>) {
        return makeArg(static_cast<std::underlying_type_t<D>>(value));
    } else if constexpr (std::is_integral_v<D> && std::is_signed_v<D> && !std::is_same_v<D, wchar_t>) {
        a.kind = Arg::Kind::Signed, a.bytes = sizeof(D), a.i = value;
    } else if constexpr (std::is_integral_v<D>) { // unsigned types, wchar_t, char16_t, char32_t
        a.kind = Arg::Kind::Unsigned, a.bytes = sizeof(D), a.u = static_cast<std::uint64_t>(value);
    } else if constexpr (std::is_floating_point_v<D>) {
        a.kind = Arg::Kind::Float, a.d = static_cast<double>(value);
    } else if constexpr (std::is_same_v<D, const wchar_t*> || std::is_same_v<D, wchar_t*>) {
        a.kind = Arg::Kind::Wide, a.w = {value, value ? std::char_traits<wchar_t>::length(value) : 0};
    } else if constexpr (std::is_same_v<D, const char*> || std::is_same_v<D, char*>) {
        a.kind = Arg::Kind::Narrow, a.n = {value, value ? std::char_traits<char>::length(value) : 0};
    } else if constexpr (std::is_same_v<D, std::filesystem::path>) {
        return makeArg(value.native());
    } else if constexpr (std::is_convertible_v<const T&, std::wstring_view>) {
        const std::wstring_view v = value;
        a.kind = Arg::Kind::Wide, a.w = {v.data(), v.size()};
    } else if constexpr (std::is_convertible_v<const T&, std::string_view>) {
        const std::string_view v = value;
        a.kind = Arg::Kind::Narrow, a.n = {v.data(), v.size()};
    } else if constexpr (std::is_pointer_v<D> || std::is_same_v<D, std::nullptr_t>) {
        a.kind = Arg::Kind::Pointer, a.p = value;
    } else {
        static_assert(kUnsupportedArgument<T>, "this argument type cannot be formatted");
    }
    return a;
}

// A bounded wide output buffer. Capacity excludes the terminator that finish() writes.
class WideOut {
public:
    WideOut(wchar_t* buffer, std::size_t capacity) : m_buf(buffer), m_cap(capacity) {}

    void put(wchar_t c);
    void put(const wchar_t* s, std::size_t n);
    void putUtf8(const char* s, std::size_t n);
    void fill(wchar_t c, std::size_t n);

    std::size_t size() const { return m_len; }
    bool truncated() const { return m_truncated; }
    std::wstring_view view() const { return {m_buf, m_len}; }

private:
    wchar_t* m_buf;
    std::size_t m_cap;
    std::size_t m_len = 0;
    bool m_truncated = false;
};

// Formats `format` with `args` into `out`.
void formatTo(WideOut& out, std::wstring_view format, const Arg* args, std::size_t count);

template <class... A>
std::wstring format(std::wstring_view fmt, const A&... args) {
    const Arg packed[] = {makeArg(args)..., Arg{}};
    std::wstring result(fmt.size() * 2 + 64, L'\0');
    for (;;) {
        WideOut out(result.data(), result.size());
        formatTo(out, fmt, packed, sizeof...(A));
        if (!out.truncated()) {
            result.resize(out.size());
            return result;
        }
        result.resize(result.size() * 2);
    }
}

} // namespace common::fmt
