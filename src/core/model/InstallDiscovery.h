#pragma once
// Finding the install folder of every product line at start-up: "pathconfig.ini" beside the program first,
// then the registry, then the desktop's shortcuts. Every candidate must pass its line's version check; a
// line whose search finds nothing stays empty (not installed). Discovery never fails as a whole.

#include <array>
#include <string>

#include "core/platform/InstallSources.h"
#include "core/product/ProductLine.h"

namespace model {

using InstallFolders = std::array<std::wstring, product::kProductCount>; // in line order 0..4

// `folders` holds what is known already (normally nothing); found folders are stored into it.
void discoverInstallFolders(platform::InstallSources& sources, InstallFolders& folders);

// `readPathFromConfig`: the key's value in "pathconfig.ini", logged.
std::wstring readPathFromConfig(platform::InstallSources& sources, std::wstring_view key);

} // namespace model
