#include "toolkit/ImageSpec.h"

#include <array>
#include <charconv>
#include <string>

#include "core/log/Log.h"
#include "core/text/Utf.h"

namespace ui {

namespace {

std::wstring_view trim(std::wstring_view s) {
    while (!s.empty() && (s.front() == L' ' || s.front() == L'\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == L' ' || s.back() == L'\t')) s.remove_suffix(1);
    return s;
}

std::optional<int> parseInt(std::wstring_view s) {
    const std::string narrow = common::text::toUtf8(trim(s));
    int value = 0;
    const auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    if (ec != std::errc() || end != narrow.data() + narrow.size() || narrow.empty()) return std::nullopt;
    return value;
}

std::optional<std::array<int, 4>> parseFour(std::wstring_view text) {
    std::array<int, 4> out{};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto comma = text.find(L',');
        if ((comma == std::wstring_view::npos) != (i == 3)) return std::nullopt;
        const auto value = parseInt(text.substr(0, comma));
        if (!value) return std::nullopt;
        out[i] = *value;
        if (comma != std::wstring_view::npos) text.remove_prefix(comma + 1);
    }
    return out;
}

// Splits "key='value' key2=\"value\"" into pairs; returns false on an unterminated quote.
template <class F>
bool forEachPair(std::wstring_view text, F&& onPair) {
    while (true) {
        text = trim(text);
        if (text.empty()) return true;
        const auto eq = text.find(L'=');
        if (eq == std::wstring_view::npos) return false;
        const std::wstring_view key = trim(text.substr(0, eq));
        text.remove_prefix(eq + 1);
        text = trim(text);
        if (text.empty() || (text.front() != L'\'' && text.front() != L'"')) return false;
        const wchar_t quote = text.front();
        const auto close = text.find(quote, 1);
        if (close == std::wstring_view::npos) return false;
        onPair(key, text.substr(1, close - 1));
        text.remove_prefix(close + 1);
    }
}

} // namespace

std::optional<Rect> parseRect(std::wstring_view text) {
    const auto v = parseFour(text);
    if (!v) return std::nullopt;
    return Rect{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::optional<Edges> parseEdges(std::wstring_view text) {
    const auto v = parseFour(text);
    if (!v) return std::nullopt;
    for (const int e : *v)
        if (e < 0) return std::nullopt;
    return Edges{(*v)[0], (*v)[1], (*v)[2], (*v)[3]};
}

std::wstring normalizeImageName(std::wstring_view name) {
    std::wstring out(name);
    for (auto& c : out)
        if (c == L'\\') c = L'/';
    // "a//b" from a doubled separator is one separator.
    std::wstring collapsed;
    for (const wchar_t c : out)
        if (!(c == L'/' && !collapsed.empty() && collapsed.back() == L'/')) collapsed.push_back(c);
    return collapsed;
}

ImageSpec parseImageSpec(std::wstring_view text) {
    ImageSpec spec;
    text = trim(text);
    if (text.empty()) return spec;
    if (text.find(L'=') == std::wstring_view::npos) {
        spec.file = normalizeImageName(text);
        return spec;
    }
    const bool complete = forEachPair(text, [&](std::wstring_view key, std::wstring_view value) {
        if (key == L"file") {
            spec.file = normalizeImageName(value);
        } else if (key == L"source" || key == L"dest") {
            const auto rect = parseRect(value);
            if (!rect) {
                KVLOG(L"image %s: bad rectangle %s", std::wstring(key), std::wstring(value));
                return;
            }
            (key == L"source" ? spec.source : spec.dest) = rect;
        } else if (key == L"corner") {
            if (const auto edges = parseEdges(value))
                spec.corner = *edges;
            else
                KVLOG(L"image corner: bad edges %s", std::wstring(value));
        } else if (key == L"fade") {
            if (const auto fade = parseInt(value)) spec.fade = std::clamp(*fade, 0, 255);
        } else if (key == L"hole") {
            spec.hole = value == L"true";
        }
    });
    if (!complete) KVLOG(L"image attribute not closed: %s", std::wstring(text));
    return spec;
}

} // namespace ui
