#pragma once
// Making a written file's bytes durable: a file that is about to replace another must be on the disk before
// the rename, or a power cut can leave the new name pointing at an empty file (FlushFileBuffers on Windows,
// fsync natively).

#include <filesystem>

namespace platform {

// Flushes the file's contents, whoever wrote them, to the disk. False (logged) when it could not be done.
[[nodiscard]] bool flushFileToDisk(const std::filesystem::path& file);

} // namespace platform
