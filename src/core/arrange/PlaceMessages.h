#pragma once
// The two place messages an instance main window answers by moving to a point and resizing itself to a
// width or a height, keeping its display aspect. The first parameter packs the point (left in the low 16
// bits, top in the high 16 bits, each signed); the second is the outer width or height in pixels.
// The ids themselves are the IPC catalogue's.

#include <cstdint>

#include "core/ipc/IpcMessages.h"

namespace arrange {

inline constexpr unsigned kMsgPlaceByWidth = utility::kMsgPlaceByWidth;
inline constexpr unsigned kMsgPlaceByHeight = utility::kMsgPlaceByHeight;

// MAKELONG(x, y) of 16-bit halves.
constexpr std::uint32_t packPlacePoint(int x, int y) {
    return static_cast<std::uint32_t>(static_cast<std::uint16_t>(x)) |
           (static_cast<std::uint32_t>(static_cast<std::uint16_t>(y)) << 16);
}
constexpr int placePointX(std::uint32_t packed) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(packed & 0xFFFFu));
}
constexpr int placePointY(std::uint32_t packed) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(packed >> 16));
}

} // namespace arrange
