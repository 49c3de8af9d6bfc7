// Native twin of the shared lock: flock on a file per name in the temporary folder. flock belongs to the
// open file, so two takes in one process exclude each other as two processes do.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "core/platform/SharedLock.h"

namespace platform {
namespace {

class FileLock final : public SharedLock {
public:
    explicit FileLock(int fd) : m_fd(fd) {}
    ~FileLock() override { ::close(m_fd); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    int m_fd;
};

} // namespace

std::unique_ptr<SharedLock> tryTakeSharedLock(const std::wstring& name) {
    std::error_code ec;
    const auto file =
        std::filesystem::temp_directory_path(ec) / ("kvmulti-lock-" + std::to_string(std::hash<std::wstring>{}(name)));
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return nullptr;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<FileLock>(fd);
}

} // namespace platform
