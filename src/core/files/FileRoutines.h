#pragma once
// utility::ufile, the small file routines the storage operations share: the large-file copy with progress that
// disk images go through, folder creation, plain copy, and removal of a file or of a whole folder.
//
// Every routine reports failure by its result and one log line under its own name; none throws. Paths are
// full Unicode paths on every platform. A copy that fails midway leaves a partial target: callers that must
// not lose an existing target copy to a temporary name first (common::files::copyReplacing).

#include <cstdint>
#include <filesystem>
#include <functional>

namespace utility::ufile {

// Progress of one stream copy: callback(percent, index) with percent = base + (copied * 100 / size) * weight,
// truncated and capped at 99, reported at most once a second and once more after the last chunk. No report
// reaches 100: the owner of the whole operation reports completion itself.
struct CopyProgress {
    std::function<void(int percent, int index)> callback;
    int index = -1;
    int base = 0;
    float weight = 1.0f;
    // Milliseconds of a steady clock; tests step it by hand.
    std::function<std::uint64_t()> clockMs;
    // Asked before each chunk: true ends the copy early as failed (at shutdown a copy of gigabytes must not
    // keep the program alive).
    std::function<bool()> stopRequested;
};

inline constexpr std::size_t kCopyChunkBytes = 16u * 1024u * 1024u;

// Copies in 16 MiB chunks, truncating the target. False (logged "open src error", "open dest error", a read
// or write error, or the stop) when the copy could not be completed.
[[nodiscard]] bool copyFileByStream(const std::filesystem::path& source, const std::filesystem::path& target,
                                    const CopyProgress& progress = {});
// The percentage one report carries.
int progressPercent(std::uint64_t copied, std::uint64_t size, int base, float weight);

[[nodiscard]] bool makeDir(const std::filesystem::path& folder); // an existing folder is success
[[nodiscard]] bool copyFile(const std::filesystem::path& source, const std::filesystem::path& target,
                            bool failIfExists);
[[nodiscard]] bool removeDir(const std::filesystem::path& folder); // walks on past files it cannot delete
[[nodiscard]] bool removeFile(const std::filesystem::path& file);

} // namespace utility::ufile
