// Flushing a file natively: fsync through a descriptor of our own flushes every byte the file holds.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/log/Log.h"
#include "core/platform/FileSync.h"

namespace platform {

bool flushFileToDisk(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        KVLOG(L"open %s to flush failed, errno %d", file, errno);
        return false;
    }
    const bool flushed = ::fsync(fd) == 0;
    if (!flushed) KVLOG(L"fsync %s failed, errno %d", file, errno);
    ::close(fd);
    return flushed;
}

} // namespace platform
