#pragma once
// What an instance setting may be set to, wherever it is set from: the settings dialog offers exactly these
// choices and ranges, and the console refuses anything else.

#include <array>

namespace model {

inline constexpr int kMinResolutionSide = 64;
inline constexpr int kMaxResolutionSide = 4096;
inline constexpr int kMinDpi = 10;
inline constexpr int kMaxDpi = 960;
inline constexpr int kMinFps = 20;
inline constexpr int kMaxFps = 120;
inline constexpr std::array<int, 5> kCpuCounts{1, 2, 4, 6, 8};
inline constexpr std::array<int, 6> kMemorySizes{1024, 2048, 3072, 4096, 6144, 8192}; // MB

// What the add dialog offers a new instance (as far as the host carries it).
inline constexpr std::array<int, 6> kNewCpuCounts{1, 2, 3, 4, 6, 8};
inline constexpr std::array<int, 9> kNewMemorySizes{512, 768, 1024, 1536, 2048, 3072, 4096, 6144, 8192}; // MB

} // namespace model
