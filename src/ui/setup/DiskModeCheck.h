#pragma once
// Whether the stable disk mode suits the installed product lines: stable mode writes through to the disk,
// which a spinning disk makes slow, so the user is asked before choosing it for lines on such a disk.

#include <functional>
#include <string>
#include <string_view>

#include "core/model/InstallDiscovery.h"

namespace setupui {

// True when the drive ("C:") is a solid-state drive: opened as a device and asked for its seek penalty,
// which must be answered and be none. The platform answers; tests script it.
using SolidStateQuery = std::function<bool(std::wstring_view drive)>;

// The lines 4, 2 and 0 that fail, as "14", "9" and "7" joined with "、" in that order; empty when all pass.
// A line passes when it is not installed, or when its folder is longer than two characters and names a
// solid-state drive in them.
std::wstring linesOnSlowDisks(const model::InstallFolders& folders, const SolidStateQuery& solidState);

} // namespace setupui
