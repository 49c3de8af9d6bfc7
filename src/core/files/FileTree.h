#pragma once
// Our own walks over folders: removal, sizes and copy targets that never go through a link. A symbolic link,
// junction or reparse point inside a folder is removed itself, never followed; an entry that would resolve
// to another place (how Wine shows a Unix symbolic link) is left alone with a log line. So removing an
// instance folder can never delete, and a copy can never overwrite, anything outside that folder.
//
// Failures are returned and logged; the walks go on past what they cannot remove.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <system_error>

namespace common::files {

// Called for each entry that could not be removed, with the platform's error.
using RemoveFailure = std::function<void(const std::filesystem::path& entry, std::error_code error)>;

// Removes `root` and everything below it; nothing there is success. Returns the first error.
[[nodiscard]] std::error_code removeTree(const std::filesystem::path& root, const RemoveFailure& onFailure = {});

// Removes one file, link or empty folder itself; nothing there is success.
[[nodiscard]] std::error_code removeEntryOnly(const std::filesystem::path& path);

// Whether a copy may write to `target`: nothing is there, or a regular file standing where it is named.
bool writableCopyTarget(const std::filesystem::path& target);

// The bytes of the regular files below `folder`, links and leftovers of killed operations not counted.
std::uint64_t treeBytes(const std::filesystem::path& folder);

// treeBytes and whether `name` exists directly in `folder` (as std::filesystem::exists says, links followed),
// from the one listing of `folder` both need.
struct TreeFacts {
    std::uint64_t bytes = 0;
    bool holdsName = false;
};
TreeFacts treeBytesAndEntry(const std::filesystem::path& folder, const std::filesystem::path& name);

} // namespace common::files
