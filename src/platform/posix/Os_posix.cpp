// The native build's operating-system facts (Linux).

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <ctime>

#include "core/platform/Os.h"
#include "core/platform/ThreadPriority.h"

namespace platform {

std::uint32_t currentThreadId() {
    return static_cast<std::uint32_t>(::syscall(SYS_gettid));
}

// Linux keeps a nice value per thread.
void lowerCurrentThreadPriority() {
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    const int current = getpriority(PRIO_PROCESS, thread);
    (void)setpriority(PRIO_PROCESS, thread, std::min(current + 10, 19)); // a refusal leaves it as it was
}

LocalTime localTimeNow() {
    // localtime_r takes the C library's time-zone lock; the broken-down time is kept per thread and second.
    thread_local std::time_t cachedSecond = -1;
    thread_local std::tm cached{};
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t second = static_cast<std::time_t>(ms / 1000);
    if (second != cachedSecond) {
        localtime_r(&second, &cached);
        cachedSecond = second;
    }
    return {cached.tm_year + 1900, cached.tm_mon + 1,          cached.tm_mday, cached.tm_hour, cached.tm_min,
            cached.tm_sec,         static_cast<int>(ms % 1000)};
}

std::filesystem::path programFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}

} // namespace platform
