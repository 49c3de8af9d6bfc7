// Windows' operating-system facts.

#include <windows.h>

#include <string>

#include "core/platform/Os.h"
#include "core/platform/ThreadPriority.h"

namespace platform {

std::uint32_t currentThreadId() {
    return GetCurrentThreadId();
}

void lowerCurrentThreadPriority() {
    (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL); // a failure leaves it as it was
}

LocalTime localTimeNow() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::filesystem::path programFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::filesystem::path();
        if (n < buffer.size()) {
            buffer.resize(n);
            return std::filesystem::path(buffer).parent_path();
        }
        buffer.resize(buffer.size() * 2); // long paths: the name was cut, ask again with more room
    }
}

} // namespace platform
