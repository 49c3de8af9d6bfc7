#pragma once
// The texts of a process start: the emulator's parameter text and the command line of any program.
//
//   playerParameterText(7, L"")            → index=7|            (the separator always stays)
//   processCommandLine(L"C:\\a b\\x.exe", L"y")  → "C:\a b\x.exe" y
//
// The start with the desktop user's token copies the command line into a fixed buffer; a longer one is
// refused by the caller rather than cut.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace common {

// Characters of the token start's command-line buffer, terminator included.
inline constexpr std::size_t kCommandLineChars = 1024;

std::wstring playerParameterText(int index, std::wstring_view extraParameters);
// The executable in double quotes, then a blank and the parameters (nothing more when they are empty).
std::wstring processCommandLine(const std::filesystem::path& executable, std::wstring_view parameters);
inline bool fitsCommandLineBuffer(std::wstring_view commandLine) {
    return commandLine.size() < kCommandLineChars;
}

} // namespace common
