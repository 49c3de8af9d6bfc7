#pragma once
// Text in the system's default ANSI code page, as older file formats store it. Windows converts through the
// code page; the native build has none and uses UTF-8.

#include <string>
#include <string_view>

namespace platform {

std::string wideToAnsi(std::wstring_view text);
std::wstring ansiToWide(std::string_view text);

} // namespace platform
