#pragma once
// The file-system steps of our own folder walks (removal, sizes, copy targets), each one entry at a time and
// never through a link: what a link, junction or other reparse point points to is never read, changed or
// deleted. The walks themselves are portable (core/files/FileTree.h).
//
// Windows classifies and deletes through a handle opened on the entry itself and compares its final path
// with the place it was listed at; under Wine a Unix symbolic link opens as what it points to, so it shows
// up as `Elsewhere` and is left alone. POSIX uses lstat and unlinkat and never follows a symbolic link.

#include <cstdint>
#include <filesystem>
#include <system_error>
#include <vector>

namespace platform::files {

enum class EntryKind {
    File,      // a regular file standing where it was listed
    Folder,    // a folder standing where it was listed
    Link,      // a symbolic link, junction or other reparse point that can be removed itself
    Elsewhere, // opens as something in another place and cannot be removed without touching that place
};

struct Entry {
    std::filesystem::path name;
    EntryKind kind;
    std::uint64_t bytes; // of a File; 0 otherwise
};

// The entries of `folder` ("." and ".." left out). An error when `folder` cannot be listed or is itself
// not a folder standing where it is named.
[[nodiscard]] std::error_code listFolder(const std::filesystem::path& folder, std::vector<Entry>& entries);

// What stands at `path` itself. std::errc::no_such_file_or_directory when nothing is there.
[[nodiscard]] std::error_code entryKind(const std::filesystem::path& path, EntryKind& kind);

// Deletes the file, the link itself or the empty folder at `path`, after checking on the same open handle
// that it still stands at `path`; an entry that would resolve elsewhere is refused with
// std::errc::operation_not_permitted and left as it is.
[[nodiscard]] std::error_code removeEntry(const std::filesystem::path& path);

} // namespace platform::files
