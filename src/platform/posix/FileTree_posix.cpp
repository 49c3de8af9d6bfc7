// The walks' file-system steps natively: lstat and unlinkat, so a symbolic link is only ever a name that is
// removed itself. POSIX links do not resolve on their own, so nothing here is ever `Elsewhere`.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

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

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

} // namespace

std::error_code listFolder(const std::filesystem::path& folder, std::vector<Entry>& entries) {
    entries.clear();
    // O_NOFOLLOW: a link in place of the folder itself is not listed either.
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return lastError();
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(fd));
    if (!dir) {
        const auto error = lastError();
        close(fd);
        return error;
    }
    errno = 0;
    while (const dirent* e = readdir(dir.get())) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        struct stat st {};
        if (fstatat(dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue; // gone meanwhile
        const EntryKind kind = kindOf(st);
        entries.push_back({e->d_name, kind, kind == EntryKind::File ? static_cast<std::uint64_t>(st.st_size) : 0});
        errno = 0;
    }
    return errno == 0 ? std::error_code{} : lastError();
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
