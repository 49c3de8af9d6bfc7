#pragma once
// What a killed operation leaves behind, and its removal when that operation next starts. Our temporary
// names are the target's name, a dot, a tag and "<thread id>-<counter>": "data.vmdk.part123-0" (copies and
// archives), "vantor3.config.tmp123-1" (settings writes), "restore.unpack123-2" (a restore's unpack folder),
// "vantor3.config.restore123-3" (a restore's staged configuration). Only names of exactly that form are
// leftovers, so a user's "movie.part1.rar" is never touched.
//
// "data.vmdk.old123-4" is the old file a swap (FileSwap) moved aside: the user's data, never simply deleted.
// It goes back under its name when that name is free, and is removed only when the swap had moved the new
// file in.

#include <filesystem>

namespace common::files {

bool isLeftoverName(const std::filesystem::path& name);

// Removes the leftovers directly inside `folder` (files and unpack folders with everything in them) and
// recovers the old files of swaps.
void removeLeftoversIn(const std::filesystem::path& folder);

// Removes the leftovers of writes to `target` (its siblings named after it with a temporary tag) and
// recovers its old file of a swap.
void removeLeftoversOf(const std::filesystem::path& target);

} // namespace common::files
