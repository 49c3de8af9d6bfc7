#pragma once
// What the add dialog offers and what its choices become, without any control: the resolution presets and
// their texts, the CPU and memory items a host can carry, the performance modes each product line allows,
// and the `CloneSetting` a confirmation hands to the create. The dialog fills its controls from these and
// the tests check them for small and large hosts.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/PerformanceMode.h"
#include "core/product/ProductLine.h"
#include "core/storage/CloneSetting.h"

namespace mainui {

struct Resolution {
    int width = 0;
    int height = 0;
    int dpi = 0;
    bool operator==(const Resolution&) const = default;
};

enum class ResolutionMode { Tablet, Phone, Custom };

using model::kBalanced;
using model::kMulti;
using model::kMultiPro;
using model::PerformanceMode;

inline constexpr int kPresetCount = 6;
// The combo texts of a mode's presets ("1280 x 720 (DPI 240)"); the custom mode has none.
std::vector<std::wstring> presetTexts(ResolutionMode mode);
// A preset text read back; none when it is not of that shape.
std::optional<Resolution> parsePreset(std::wstring_view text);

// The items offered: the CPU counts not above the host's logical processors, the memory sizes (MB) below
// its physical memory.
std::vector<int> offeredCpuCounts(int logicalProcessors);
std::vector<int> offeredMemorySizes(std::uint64_t physicalMemoryMb);
// The preselected items are the fourth CPU (4 cores) and the seventh memory item (4096 MB). A host that
// offers fewer items gets its largest one instead, the closest it has to the recommended size, so the
// dialog never confirms with nothing chosen. -1 only when nothing is offered.
inline constexpr int kPreferredCpuItem = 3;
inline constexpr int kPreferredMemoryItem = 6;
int preselectedItem(int preferred, std::size_t offered);
// The value that carries the " ( best ) " suffix in both combos.
inline constexpr int kBestCpuCount = 4;
inline constexpr int kBestMemorySize = 4096;

using model::allowsMultiModes;

struct AddChoices {
    KV_PRODUCT_TYPE product = KV_PRODUCT_14;
    std::int32_t performance = kBalanced;
    Resolution resolution;
    bool smallDisk = false;
    int cpuCount = 0;
    int memorySize = 0;       // MB
    int framesPerSecond = 60; // the manager's "framesPerSecond"
};

// The setting of the new instances; a mode the line does not allow counts as Balanced.
common::CloneSetting buildCloneSetting(const AddChoices& choices);

// A count typed into `numEdit`: a positive decimal number of at most four digits, else none.
std::optional<int> parseCount(std::wstring_view text);
// A custom width, height or dpi edit: the decimal integer it holds (spaces around it allowed), 0 when it
// holds anything else ("12a" too).
int readNumber(std::wstring_view text);

// Below this many free bytes on a line's volume the user is warned after a series (exactly 4 GiB is enough).
inline constexpr std::uint64_t kLowDiskBytes = 4ull * 1024 * 1024 * 1024;
inline bool lowDiskSpace(std::uint64_t freeBytes) {
    return freeBytes < kLowDiskBytes;
}
// Whether `count` instances of `eachBytes` fit into `freeBytes` (an unknown size, 0, always fits).
bool countFits(int count, std::uint64_t eachBytes, std::uint64_t freeBytes);

} // namespace mainui
