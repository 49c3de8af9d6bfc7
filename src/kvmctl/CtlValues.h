#pragma once
// Setting values as the console's command line writes them, checked by the rules the settings dialog
// applies: a resolution "WxH" within the dialog's sides, a DPI within its range, CPU and memory among its
// choices, a frame rate within its slider, a switch "true"/"false" (or 1/0), a hot key "MODIFIERS:KEY"
// (numbers: the modifier bits and the virtual key code), a text as it stands.

#include <optional>
#include <string>
#include <string_view>

#include "core/model/BatchApplyTable.h"
#include "core/storage/ConfigDocument.h"

namespace ctl::values {

std::optional<common::Resolution> parseResolution(std::string_view text);
std::string resolutionRule();

// Stores the value into the key's field of `values`; empty when it is valid, else what is wrong with it.
std::string assign(const model::BatchKey& key, std::string_view text, model::BatchValues& values);

} // namespace ctl::values
