#include "StandInOptions.h"

#include <cwchar>
#include <string>

namespace standin {
namespace {

std::optional<long> number(std::wstring_view text) {
    const std::wstring s(text);
    wchar_t* end = nullptr;
    const long value = std::wcstol(s.c_str(), &end, 10);
    if (end == s.c_str()) return std::nullopt;
    return value;
}

// The key of an item, without the program path that may precede the first one.
std::wstring_view keyOf(std::wstring_view item) {
    const auto blank = item.find_last_of(L" \"");
    return blank == std::wstring_view::npos ? item : item.substr(blank + 1);
}

} // namespace

Options parseOptions(std::wstring_view commandLine) {
    Options options;
    while (!commandLine.empty()) {
        const auto bar = commandLine.find(L'|');
        const std::wstring_view item = commandLine.substr(0, bar);
        commandLine = bar == std::wstring_view::npos ? std::wstring_view{} : commandLine.substr(bar + 1);
        const auto eq = item.find(L'=');
        if (eq == std::wstring_view::npos) continue;
        const std::wstring_view key = keyOf(item.substr(0, eq));
        const auto value = number(item.substr(eq + 1));
        if (!value) continue;
        if (key == L"index") options.index = static_cast<int>(*value);
        if (key == L"line") options.line = static_cast<int>(*value);
        if (key == L"hang") options.hangOn = static_cast<std::uint32_t>(*value);
        if (key == L"exit") options.exitCode = static_cast<int>(*value);
        if (key == L"stay") options.stayOnQuit = *value != 0;
    }
    return options;
}

} // namespace standin
