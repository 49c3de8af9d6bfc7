#pragma once
// Keeping a file that could not be read before something is written over it: a damaged settings file still
// holds what the user had, and may be repaired by hand.

#include <filesystem>

namespace common::files {

// Copies `file` beside itself as "<name>.bad", or as "<name>.2.bad", "<name>.3.bad"... when earlier copies
// exist: a kept copy is never overwritten, every one ends in ".bad", and the number tells the order. The
// copy is flushed to the disk. Returns its path, or an empty path (logged) when no copy could be made.
std::filesystem::path keepDamagedCopy(const std::filesystem::path& file);

} // namespace common::files
