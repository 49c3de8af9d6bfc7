// The walks' file-system steps natively (Linux): lstat and unlinkat, so a symbolic link is only ever a name that
// is removed itself. POSIX links do not resolve on their own, so nothing here is ever `Elsewhere`.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/platform/FileTree.h"

namespace platform::files {
namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

EntryKind kindOf(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return EntryKind::Folder;
    if (S_ISREG(st.st_mode)) return EntryKind::File;
    return EntryKind::Link; // symbolic links, sockets, pipes: removed by name, never opened
}

// An entry's kind from its directory record where that is enough: a folder or a link needs no stat. A file
// is asked for its size, and an unknown type for everything.
void addEntry(int folder, const char* name, unsigned char type, std::vector<Entry>& entries) {
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0) return;
    if (type == DT_DIR) return entries.push_back({name, EntryKind::Folder, 0});
    if (type != DT_REG && type != DT_UNKNOWN) return entries.push_back({name, EntryKind::Link, 0});
    struct stat st {};
    if (fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return; // gone meanwhile
    const EntryKind kind = kindOf(st);
    entries.push_back({name, kind, kind == EntryKind::File ? static_cast<std::uint64_t>(st.st_size) : 0});
}

struct FdCloser {
    int fd;
    ~FdCloser() { close(fd); }
};

} // namespace

// Read with getdents64 into a buffer of our own: opendir's stat and flag calls would double the system calls
// a listing of a small folder makes.
std::error_code listFolder(const std::filesystem::path& folder, std::vector<Entry>& entries) {
    entries.clear();
    // O_NOFOLLOW: a link in place of the folder itself is not listed either.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return lastError();
    const FdCloser closer{fd};
    alignas(struct dirent64) char buffer[8192];
    for (;;) {
        const ssize_t n = getdents64(fd, buffer, sizeof buffer);
        if (n < 0) return lastError();
        if (n == 0) return {};
        for (ssize_t at = 0; at < n;) {
            const auto* record = reinterpret_cast<const struct dirent64*>(buffer + at);
            addEntry(fd, record->d_name, record->d_type, entries);
            at += record->d_reclen;
        }
    }
}

std::error_code entryKind(const std::filesystem::path& path, EntryKind& kind) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return lastError();
    kind = kindOf(st);
    return {};
}

std::error_code removeEntry(const std::filesystem::path& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return lastError();
    const int flags = S_ISDIR(st.st_mode) ? AT_REMOVEDIR : 0;
    if (unlinkat(AT_FDCWD, path.c_str(), flags) != 0) return lastError();
    return {};
}

} // namespace platform::files
