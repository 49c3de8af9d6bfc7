#pragma once
// common::files, what storage asks of files beyond the small routines: existence, the bytes a folder holds,
// and the two copies that replace a target (the configuration copy and the staged disk copy).

#include <cstdint>
#include <filesystem>

#include "core/files/FileRoutines.h" // CopyProgress
#include "core/files/FileTree.h"     // TreeFacts

namespace common::files {

bool fileExists(const std::filesystem::path& path);

// The bytes of every regular file below `folder`; links, leftovers of killed operations and what cannot be
// read count nothing. Several disk accesses per file: callers on the UI thread walk on a worker.
std::uint64_t folderBytes(const std::filesystem::path& folder);
// The same walk, telling besides whether the file `name` lies directly in `folder` (a list row's copy marker):
// the marker is one of the entries the walk lists anyway.
TreeFacts folderBytesAndEntry(const std::filesystem::path& folder, const std::filesystem::path& name);

// Creates the target's folder chain and copies, replacing an existing target (a link there is replaced
// itself, never written through).
[[nodiscard]] bool copy_overwrite(const std::filesystem::path& source, const std::filesystem::path& target);

// Replaces `target` with a copy of `source` without ever leaving `target` half written (replaceFileAtomically).
// On failure `target` is as it was.
[[nodiscard]] bool copyReplacing(const std::filesystem::path& source, const std::filesystem::path& target,
                                 const utility::ufile::CopyProgress& progress = {});

} // namespace common::files
