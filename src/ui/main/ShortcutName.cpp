#include "ui/main/ShortcutName.h"

#include <algorithm>
#include <array>

namespace mainui {
namespace {

constexpr std::size_t kMaxNameUnits = 200;

bool refusedInNames(wchar_t c) {
    return c < 0x20 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos;
}

wchar_t asciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// Windows opens a device for these names whatever extension follows, and ignores spaces before the dot.
bool isDeviceName(std::wstring_view name) {
    std::wstring stem(name.substr(0, name.find(L'.')));
    while (!stem.empty() && stem.back() == L' ') stem.pop_back();
    std::transform(stem.begin(), stem.end(), stem.begin(), asciiUpper);
    static constexpr std::array<std::wstring_view, 6> kPlain{L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::find(kPlain.begin(), kPlain.end(), stem) != kPlain.end()) return true;
    if (stem.size() != 4 || (stem.compare(0, 3, L"COM") != 0 && stem.compare(0, 3, L"LPT") != 0)) return false;
    const wchar_t digit = stem[3];
    return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' || digit == L'\u00B3';
}

} // namespace

std::wstring desktopShortcutName(std::wstring_view rowName) {
    std::wstring name(rowName);
    std::replace_if(name.begin(), name.end(), refusedInNames, L'_');
    if (name.size() > kMaxNameUnits) {
        std::size_t cut = kMaxNameUnits;
        if (name[cut - 1] >= 0xD800 && name[cut - 1] <= 0xDBFF) --cut; // never half a character
        name.resize(cut);
    }
    if (name.empty() || isDeviceName(name)) name.insert(0, 1, L'_');
    return name;
}

} // namespace mainui
