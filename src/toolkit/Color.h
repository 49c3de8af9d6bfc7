#pragma once
// Colours of the skin: 32-bit ARGB, alpha in the top byte.
//
// Skins write them as "#FFRRGGBB", "0xAARRGGBB" or "#RRGGBB" (opaque); markup writes "ffdd00" or "#FFFFFF"
// without a prefix being required. Anything else is not a colour: the parser says so and never guesses.

#include <cstdint>
#include <optional>
#include <string_view>

namespace ui {

using Argb = std::uint32_t;

inline constexpr Argb kBlack = 0xFF000000;
inline constexpr Argb kWhite = 0xFFFFFFFF;

constexpr std::uint8_t alphaOf(Argb c) {
    return static_cast<std::uint8_t>(c >> 24);
}
constexpr std::uint8_t redOf(Argb c) {
    return static_cast<std::uint8_t>(c >> 16);
}
constexpr std::uint8_t greenOf(Argb c) {
    return static_cast<std::uint8_t>(c >> 8);
}
constexpr std::uint8_t blueOf(Argb c) {
    return static_cast<std::uint8_t>(c);
}

// "#AARRGGBB", "0xAARRGGBB", "#RRGGBB", and the bare hex forms of markup (6 or 8 digits). Six digits are
// opaque.
std::optional<Argb> parseColor(std::wstring_view text);

} // namespace ui
