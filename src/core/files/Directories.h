#pragma once
// Creating folder chains for files about to be written.

#include <filesystem>

namespace common {

// Creates the folder and every missing ancestor. A failure is logged, never thrown; returns whether the
// folder exists afterwards.
bool create_directories(const std::filesystem::path& folder);

} // namespace common
