// Hardware facts from Windows: processor relationships, installed memory, the primary screen.

#include <windows.h>

#include <winioctl.h>

#include <vector>

#include "core/platform/SystemFacts.h"

namespace platform {

ProcessorTopology processorTopology() {
    SYSTEM_INFO info{};
    GetSystemInfo(&info);
    ProcessorTopology t;
    t.logicalProcessors = static_cast<int>(info.dwNumberOfProcessors);
    t.cores = t.logicalProcessors;

    DWORD bytes = 0;
    GetLogicalProcessorInformation(nullptr, &bytes);
    if (bytes == 0) return t;
    std::vector<SYSTEM_LOGICAL_PROCESSOR_INFORMATION> entries(bytes / sizeof(SYSTEM_LOGICAL_PROCESSOR_INFORMATION));
    if (!GetLogicalProcessorInformation(entries.data(), &bytes)) return t;
    int cores = 0;
    int smt = 0;
    for (const auto& e : entries) {
        if (e.Relationship != RelationProcessorCore) continue;
        ++cores;
        if (e.ProcessorCore.Flags == 1) ++smt; // LTP_PC_SMT: the core runs more than one logical processor
    }
    if (cores == 0) return t;
    t.cores = cores;
    t.smtCores = smt;
    t.known = true;
    return t;
}

std::uint64_t installedMemoryMb() {
    ULONGLONG kilobytes = 0;
    if (GetPhysicallyInstalledSystemMemory(&kilobytes)) return kilobytes / 1024;
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys / (1024 * 1024) : 0;
}

int primaryScreenWidth() {
    return GetSystemMetrics(SM_CXSCREEN);
}

std::filesystem::path systemDriveRoot() {
    wchar_t folder[MAX_PATH] = {};
    const UINT n = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    if (n < 3 || n >= MAX_PATH) return std::filesystem::path(L"C:\\");
    return std::filesystem::path(std::wstring(folder, 3)); // "C:\\"
}

bool nativeProcessorIs64Bit() {
    SYSTEM_INFO info{};
    GetNativeSystemInfo(&info);
    return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

bool isSolidStateDrive(std::wstring_view drive) {
    const std::wstring device = L"\\\\.\\" + std::wstring(drive);
    // No access rights are needed to ask for a property; opening with them would need an administrator.
    HANDLE volume =
        CreateFileW(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (volume == INVALID_HANDLE_VALUE) return false;
    STORAGE_PROPERTY_QUERY query{};
    query.PropertyId = StorageDeviceSeekPenaltyProperty;
    query.QueryType = PropertyStandardQuery;
    DEVICE_SEEK_PENALTY_DESCRIPTOR penalty{};
    DWORD returned = 0;
    const BOOL answered = DeviceIoControl(volume, IOCTL_STORAGE_QUERY_PROPERTY, &query, sizeof query, &penalty,
                                          sizeof penalty, &returned, nullptr);
    CloseHandle(volume);
    return answered && returned >= sizeof penalty && !penalty.IncursSeekPenalty;
}

// The quota-aware figure: what this user can write, not what the volume holds.
std::optional<std::uint64_t> freeDiskBytes(const std::filesystem::path& folder) {
    ULARGE_INTEGER available{};
    if (!GetDiskFreeSpaceExW(folder.wstring().c_str(), &available, nullptr, nullptr)) return std::nullopt;
    return static_cast<std::uint64_t>(available.QuadPart);
}

} // namespace platform
