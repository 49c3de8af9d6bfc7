// The native build's operating-system facts (Linux).

#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

#include "core/platform/Os.h"
#include "core/platform/ThreadPriority.h"

namespace platform {

std::uint32_t currentThreadId() {
    return static_cast<std::uint32_t>(::syscall(SYS_gettid));
}

// Linux's batch policy: the same share of the processor, without preempting anyone when woken.
void stopWakePreemption() {
    const sched_param none{};
    (void)sched_setscheduler(static_cast<pid_t>(::syscall(SYS_gettid)), SCHED_BATCH,
                             &none); // a refusal changes nothing
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
