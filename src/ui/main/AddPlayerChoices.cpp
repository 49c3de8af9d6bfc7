#include "ui/main/AddPlayerChoices.h"

#include <array>
#include <cwctype>
#include <limits>

#include "core/model/SettingLimits.h"

namespace mainui {

namespace {

constexpr std::array<Resolution, kPresetCount> kTablet{
    {{960, 540, 160}, {1280, 720, 240}, {1600, 900, 240}, {1920, 1080, 280}, {2560, 1440, 320}, {3840, 2160, 540}}};
constexpr std::array<Resolution, kPresetCount> kPhone{
    {{540, 960, 240}, {720, 1280, 320}, {900, 1600, 320}, {1080, 1920, 480}, {1440, 2560, 640}, {2160, 3840, 960}}};

std::wstring presetText(const Resolution& r) {
    return std::to_wstring(r.width) + L" x " + std::to_wstring(r.height) + L" (DPI " + std::to_wstring(r.dpi) + L")";
}

// Reads the digits at `at` and moves past them; none when there are none or they overflow.
std::optional<int> digits(std::wstring_view text, std::size_t& at) {
    const std::size_t start = at;
    long long value = 0;
    while (at < text.size() && text[at] >= L'0' && text[at] <= L'9') {
        value = value * 10 + (text[at] - L'0');
        if (value > std::numeric_limits<int>::max()) return std::nullopt;
        ++at;
    }
    if (at == start) return std::nullopt;
    return static_cast<int>(value);
}

bool literal(std::wstring_view text, std::size_t& at, std::wstring_view expected) {
    if (text.substr(at, expected.size()) != expected) return false;
    at += expected.size();
    return true;
}

} // namespace

std::vector<std::wstring> presetTexts(ResolutionMode mode) {
    std::vector<std::wstring> texts;
    if (mode == ResolutionMode::Custom) return texts;
    for (const Resolution& r : mode == ResolutionMode::Tablet ? kTablet : kPhone) texts.push_back(presetText(r));
    return texts;
}

std::optional<Resolution> parsePreset(std::wstring_view text) {
    std::size_t at = 0;
    const auto width = digits(text, at);
    if (!width || !literal(text, at, L" x ")) return std::nullopt;
    const auto height = digits(text, at);
    if (!height || !literal(text, at, L" (DPI ")) return std::nullopt;
    const auto dpi = digits(text, at);
    if (!dpi || !literal(text, at, L")") || at != text.size()) return std::nullopt;
    return Resolution{*width, *height, *dpi};
}

std::vector<int> offeredCpuCounts(int logicalProcessors) {
    std::vector<int> offered;
    for (int count : model::kNewCpuCounts)
        if (count <= logicalProcessors) offered.push_back(count);
    return offered;
}

std::vector<int> offeredMemorySizes(std::uint64_t physicalMemoryMb) {
    std::vector<int> offered;
    for (int size : model::kNewMemorySizes)
        if (static_cast<std::uint64_t>(size) < physicalMemoryMb) offered.push_back(size);
    return offered;
}

int preselectedItem(int preferred, std::size_t offered) {
    if (offered == 0) return -1;
    return std::min(preferred, static_cast<int>(offered) - 1);
}

common::CloneSetting buildCloneSetting(const AddChoices& c) {
    common::CloneSetting s;
    s.hasResolution = true;
    s.width = c.resolution.width;
    s.height = c.resolution.height;
    s.dpi = c.resolution.dpi;
    s.smallDisk = c.smallDisk;
    s.cpuCount = c.cpuCount;
    s.memorySize = c.memorySize;
    model::applyPerformanceMode(s, c.product, c.performance, c.framesPerSecond);
    return s;
}

std::optional<int> parseCount(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    if (text.empty() || text.size() > 4) return std::nullopt;
    std::size_t at = 0;
    const auto value = digits(text, at);
    if (!value || at != text.size() || *value < 1) return std::nullopt;
    return value;
}

int readNumber(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    const bool negative = !text.empty() && text.front() == L'-';
    if (negative) text.remove_prefix(1);
    std::size_t at = 0;
    const auto value = digits(text, at);
    if (!value || at != text.size()) return 0;
    return negative ? -*value : *value;
}

bool countFits(int count, std::uint64_t eachBytes, std::uint64_t freeBytes) {
    if (eachBytes == 0) return true;
    return static_cast<std::uint64_t>(count) <= freeBytes / eachBytes;
}

} // namespace mainui
