#pragma once
// Skin images as 32-bit bitmaps the painter can alpha-blend directly: premultiplied BGRA (blue in the lowest
// byte), rows top-down, no padding. PNG, JPEG, BMP and GIF (its first frame) are decoded.
//
// Decoding never trusts the file: a damaged or oversized image gives nothing and a log line.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ui {

// Images beyond this many pixels on a side are refused (a skin has no use for them).
inline constexpr int kMaxImageSide = 8192;

struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // premultiplied BGRA

    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

std::optional<Bitmap> decodeImage(std::string_view bytes);

// One pixel from straight RGBA to premultiplied BGRA.
constexpr std::uint32_t premultiply(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {
    const auto mul = [a](std::uint8_t c) { return static_cast<std::uint32_t>((c * a + 127) / 255); };
    return (static_cast<std::uint32_t>(a) << 24) | (mul(r) << 16) | (mul(g) << 8) | mul(b);
}

} // namespace ui
