#include "core/files/FileTree.h"

#include <algorithm>
#include <vector>

#include "core/files/Leftovers.h"
#include "core/log/Log.h"
#include "core/platform/FileTree.h"

namespace common::files {
namespace {

using platform::files::EntryKind;

void note(std::error_code& first, std::error_code error) {
    if (!first) first = error;
}

bool missing(std::error_code error) {
    return error == std::errc::no_such_file_or_directory;
}

std::error_code refuse(const std::filesystem::path& path) {
    KVLOG(L"left %s alone: it leads to another place", path);
    return std::make_error_code(std::errc::operation_not_permitted);
}

void removeWalk(const std::filesystem::path& path, EntryKind kind, const RemoveFailure& onFailure,
                std::error_code& first) {
    auto failed = [&](std::error_code error) {
        note(first, error);
        if (onFailure) onFailure(path, error);
    };
    if (kind == EntryKind::Elsewhere) return failed(refuse(path));
    if (kind == EntryKind::Folder) {
        std::vector<platform::files::Entry> entries;
        if (const auto error = platform::files::listFolder(path, entries)) return failed(error);
        for (const auto& entry : entries) removeWalk(path / entry.name, entry.kind, onFailure, first);
    }
    if (const auto error = platform::files::removeEntry(path); error && !missing(error)) failed(error);
}

std::uint64_t bytesBelow(const std::filesystem::path& folder);

std::uint64_t bytesOf(const std::filesystem::path& folder, const std::vector<platform::files::Entry>& entries) {
    std::uint64_t total = 0;
    for (const auto& entry : entries) {
        if (isLeftoverName(entry.name)) continue;
        if (entry.kind == EntryKind::File) total += entry.bytes;
        if (entry.kind == EntryKind::Folder) total += bytesBelow(folder / entry.name);
    }
    return total;
}

std::uint64_t bytesBelow(const std::filesystem::path& folder) {
    std::vector<platform::files::Entry> entries;
    if (platform::files::listFolder(folder, entries)) return 0;
    return bytesOf(folder, entries);
}

// Equal but for the case of ASCII letters.
bool sameLettersIgnoringCase(const std::filesystem::path::string_type& a, const std::filesystem::path::string_type& b) {
    auto lower = [](auto c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](auto x, auto y) { return lower(x) == lower(y); });
}

bool existsThere(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

// Whether `name` exists directly in the listed folder, answered from its entries where they are plain: a
// link, or a name that matches only ignoring case (one name on Windows), is left to the file system.
bool holds(const std::filesystem::path& folder, const std::vector<platform::files::Entry>& entries,
           const std::filesystem::path& name) {
    bool ask = false;
    for (const auto& entry : entries) {
        if (!sameLettersIgnoringCase(entry.name.native(), name.native())) continue;
        const bool plain = entry.kind == EntryKind::File || entry.kind == EntryKind::Folder;
        if (plain && entry.name.native() == name.native()) return true;
        ask = true;
    }
    return ask && existsThere(folder / name);
}

} // namespace

std::error_code removeTree(const std::filesystem::path& root, const RemoveFailure& onFailure) {
    EntryKind kind = EntryKind::File;
    if (const auto error = platform::files::entryKind(root, kind)) return missing(error) ? std::error_code{} : error;
    std::error_code first;
    removeWalk(root, kind, onFailure, first);
    return first;
}

std::error_code removeEntryOnly(const std::filesystem::path& path) {
    EntryKind kind = EntryKind::File;
    if (const auto error = platform::files::entryKind(path, kind)) return missing(error) ? std::error_code{} : error;
    if (kind == EntryKind::Elsewhere) return refuse(path);
    const auto error = platform::files::removeEntry(path);
    return missing(error) ? std::error_code{} : error;
}

bool writableCopyTarget(const std::filesystem::path& target) {
    EntryKind kind = EntryKind::File;
    if (const auto error = platform::files::entryKind(target, kind)) return missing(error);
    return kind == EntryKind::File;
}

std::uint64_t treeBytes(const std::filesystem::path& folder) {
    return bytesBelow(folder);
}

TreeFacts treeBytesAndEntry(const std::filesystem::path& folder, const std::filesystem::path& name) {
    std::vector<platform::files::Entry> entries;
    if (platform::files::listFolder(folder, entries)) return {0, existsThere(folder / name)};
    return {bytesOf(folder, entries), holds(folder, entries, name)};
}

} // namespace common::files
