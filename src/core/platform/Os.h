#pragma once
// Basic facts about the running process that only the operating system knows.
// Implemented once for Windows (platform/win32) and once for the native build (platform/posix).

#include <cstdint>
#include <filesystem>

namespace platform {

// The operating system's identifier of the calling thread (what debuggers and process tools show).
std::uint32_t currentThreadId();

struct LocalTime {
    int year;
    int month; // 1..12
    int day;
    int hour;
    int minute;
    int second;
    int millisecond;
};

LocalTime localTimeNow();

// The folder that holds the running program file.
std::filesystem::path programFolder();

} // namespace platform
