#pragma once
// What a killed operation leaves behind, and its removal when that operation next starts. Our temporary
// names are the target's name, a dot, a tag and "<thread id>-<counter>": "data.vmdk.part123-0" (copies and
// archives), "vantor3.config.tmp123-1" (settings writes), "restore.unpack123-2" (a restore's unpack folder).
// Only names of exactly that form are leftovers, so a user's "movie.part1.rar" is never touched.

#include <filesystem>

namespace common::files {

bool isLeftoverName(const std::filesystem::path& name);

// Removes the leftovers directly inside `folder` (files and unpack folders with everything in them).
void removeLeftoversIn(const std::filesystem::path& folder);

// Removes the leftovers of writes to `target`: its siblings named after it with a temporary tag.
void removeLeftoversOf(const std::filesystem::path& target);

} // namespace common::files
