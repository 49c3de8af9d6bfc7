#include "core/net/RangeAnswer.h"

#include <cctype>

namespace net {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// Leading decimal digits of `text` (consumed), refusing values that would not fit.
std::optional<std::int64_t> number(std::string_view& text) {
    std::int64_t value = 0;
    std::size_t i = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        if (value > (INT64_MAX - 9) / 10) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    if (i == 0) return std::nullopt;
    text.remove_prefix(i);
    return value;
}

} // namespace

std::optional<std::int64_t> contentRangeStart(std::string_view contentRange) {
    std::string_view text = trimmed(contentRange);
    constexpr std::string_view kUnit = "bytes ";
    if (text.substr(0, kUnit.size()) != kUnit) return std::nullopt;
    text.remove_prefix(kUnit.size());
    const auto first = number(text);
    if (!first || text.empty() || text.front() != '-') return std::nullopt;
    text.remove_prefix(1);
    const auto last = number(text);
    if (!last || *last < *first || text.empty() || text.front() != '/') return std::nullopt;
    text.remove_prefix(1);
    if (text == "*") return first;
    const auto total = number(text);
    if (!total || !text.empty() || *total <= *last) return std::nullopt;
    return first;
}

BodyPlacement placeBody(std::int64_t offset, long status, std::string_view contentRange) {
    if (status == 206) {
        const auto start = contentRangeStart(contentRange);
        if (!start || *start != offset) return BodyPlacement::Refuse;
        return offset > 0 ? BodyPlacement::Append : BodyPlacement::FromZero;
    }
    if (status == 200) return BodyPlacement::FromZero;
    // Any other success (204, 205, ...) carries no file: it must not truncate or extend a leftover.
    return offset > 0 || status < 200 || status > 299 ? BodyPlacement::Refuse : BodyPlacement::FromZero;
}

} // namespace net
