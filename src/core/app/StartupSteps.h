#pragma once
// The start-up steps the manager and the console share, so both see the same instances with the same names:
// the storage objects get their install folders and name patterns, and the language and its resources are
// the ones the default line's settings name.

#include <filesystem>

#include "core/model/KVMultiModel.h"
#include "core/storage/PlayerSet.h"

namespace app {

// After install discovery: each line's storage object with its folder and name patterns, the program's own
// with `programFolder`, a first language choice and the phone list that identities of new instances use.
void initialiseStorage(KVMultiModel& model, common::PlayerSet& players, const std::filesystem::path& programFolder);

// The language the default line's settings name (or the system's), and the resources of that language.
void selectLanguageAndResources(KVMultiModel& model, const std::filesystem::path& programFolder);

} // namespace app
