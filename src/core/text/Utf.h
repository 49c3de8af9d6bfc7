#pragma once
// Conversions between the program's wide strings and UTF-8.
//
// Wide strings are UTF-16 on Windows (wchar_t is 16 bits) and UTF-32 in the native build; both forms are
// handled. Invalid input (lone surrogates, bad UTF-8 bytes) becomes U+FFFD: conversions never fail.

#include <cstddef>
#include <string>
#include <string_view>

namespace common::text {

// Appends the UTF-8 form of `wide` to `out`, writing at most `capacity` bytes. A character whose encoding
// would not fit is left out whole, so the output is always valid UTF-8. Returns the number of bytes written.
std::size_t appendUtf8(char* out, std::size_t capacity, std::wstring_view wide);

std::string toUtf8(std::wstring_view wide);
std::wstring fromUtf8(std::string_view utf8);

// Appends the wide form of `utf8` to `out`, writing at most `capacity` wide characters and never splitting a
// surrogate pair. Returns the number of wide characters written; `consumed`, when given, receives the number
// of input bytes converted (less than utf8.size() when the output was full).
std::size_t appendWide(wchar_t* out, std::size_t capacity, std::string_view utf8, std::size_t* consumed = nullptr);

} // namespace common::text
