#include "ui/settings/SettingRules.h"

#include <algorithm>
#include <charconv>
#include <regex>

namespace settingsui {

int clampResolutionSide(int pixels) {
    return std::clamp(pixels, kMinResolutionSide, kMaxResolutionSide);
}

int clampDpi(int dpi) {
    return std::clamp(dpi, kMinDpi, kMaxDpi);
}

const wchar_t* fpsTipKey(int framesPerSecond) {
    if (framesPerSecond > 60) return L"fps_tip_more60";
    if (framesPerSecond == 60) return L"fps_tip_60";
    return L"fps_tip_less60";
}

const wchar_t* memUsageTipKey(int mode) {
    if (mode == 1) return L"mem_usage_Display_tip";
    if (mode == 2) return L"mem_usage_low_tp";
    return L"mem_usage_auto_tip";
}

bool isDottedQuad(std::wstring_view text) {
    static const std::wregex pattern(
        LR"(^((?:(?:25[0-5]|2[0-4]\d|((1\d{2})|([1-9]?\d)))\.){3}(?:25[0-5]|2[0-4]\d|((1\d{2})|([1-9]?\d))))$)");
    return std::regex_match(text.begin(), text.end(), pattern);
}

std::wstring diskSizeLabel(int gigabytes) {
    return std::to_wstring(gigabytes) + L"G / 255G";
}

bool sharedFolderSizeAccepted(std::wstring_view text, int startSize, int maxSize) {
    if (text.empty() || text.size() > 5) return false;
    const int size = parseNumber(text, -1);
    return size >= startSize && size <= maxSize && size >= 0;
}

int parseNumber(std::wstring_view text, int fallback) {
    std::string narrow;
    for (wchar_t c : text) {
        if (c == L' ') continue;
        if (c > 0x7f) return fallback;
        narrow.push_back(static_cast<char>(c));
    }
    int value = 0;
    const auto [end, error] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (error == std::errc::result_out_of_range) return narrow.front() == '-' ? -1 : kMaxResolutionSide * 1000;
    if (error != std::errc() || narrow.empty() || end != narrow.data() + narrow.size()) return fallback;
    return value;
}

} // namespace settingsui
