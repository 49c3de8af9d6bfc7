#pragma once
// The performance modes a new instance is created in, and what each one sets in its `CloneSetting`. The add
// dialog and the console both create through this, so a mode means the same from either.

#include <cstdint>

#include "core/product/ProductLine.h"
#include "core/storage/CloneSetting.h"

namespace model {

// As stored: 0 Balanced, 1 Multi, 2 MultiPro.
enum PerformanceMode : std::int32_t { kBalanced = 0, kMulti = 1, kMultiPro = 2 };

// Multi and MultiPro need line 4; every other line creates Balanced instances.
bool allowsMultiModes(KV_PRODUCT_TYPE product);

// The frame rate (`framesPerSecond`, the manager's setting) and the mode's keys: Multi and MultiPro use
// video memory mode 2, MultiPro also runs at 30 frames per second with reduced audio. A mode the line does
// not allow counts as Balanced.
void applyPerformanceMode(common::CloneSetting& setting, KV_PRODUCT_TYPE product, std::int32_t mode,
                          int framesPerSecond);

} // namespace model
