#pragma once
// What an absent resolution, DPI, processor count or memory size of an instance stands for.

#include <cstdint>

#include "core/platform/SystemFacts.h"
#include "core/storage/ConfigDocument.h"

namespace common::defaults {

// 1280 x 720 for every index but 0; index 0 follows the width of the primary screen.
Resolution resolutionFor(int index, int primaryScreenWidth);
int dpiFor(int width, int height);
int cpuCount(const platform::ProcessorTopology& topology);
int memoryMb(std::uint64_t installedMb);

} // namespace common::defaults
