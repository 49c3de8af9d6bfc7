#pragma once
// Raw hardware facts that instance defaults are computed from; the rules themselves are portable
// (storage/InstanceDefaults.h).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

struct ProcessorTopology {
    int logicalProcessors = 1;
    int cores = 1;      // physical cores
    int smtCores = 0;   // cores that carry simultaneous multithreading
    bool known = false; // false: the system gave no relationship information
};

ProcessorTopology processorTopology();
std::uint64_t installedMemoryMb();
int primaryScreenWidth(); // pixels; 0 when there is no screen

// The root of the drive that holds the Windows folder ("C:\\"); the file system root natively.
std::filesystem::path systemDriveRoot();
// The bytes the current user may still write on the volume holding `folder`; none when the system cannot
// tell (the folder is gone, the volume is offline).
std::optional<std::uint64_t> freeDiskBytes(const std::filesystem::path& folder);
// Whether the drive ("C:") is a solid-state drive: opened as a device and asked for its seek penalty, which
// must be answered and be none. False when the system cannot tell (no rights, no such drive, Wine).
bool isSolidStateDrive(std::wstring_view drive);
// Whether the processor runs 64-bit code natively (AMD64 or IA64), whatever this program's own build.
bool nativeProcessorIs64Bit();

} // namespace platform
