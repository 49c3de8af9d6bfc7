// Hardware facts in the native build: what the C library knows; there is no screen.

#include <unistd.h>

#include <thread>

#include "core/platform/SystemFacts.h"

namespace platform {

ProcessorTopology processorTopology() {
    const int logical = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    return {logical, logical, 0, false};
}

std::uint64_t installedMemoryMb() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) return 0;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize) / (1024 * 1024);
}

int primaryScreenWidth() {
    return 0;
}

std::filesystem::path systemDriveRoot() {
    return "/";
}

// No drive letters here: nothing counts as a solid-state drive (native tests script the answer instead).
bool isSolidStateDrive(std::wstring_view) {
    return false;
}

std::optional<std::uint64_t> freeDiskBytes(const std::filesystem::path& folder) {
    std::error_code ec;
    const std::filesystem::space_info info = std::filesystem::space(folder, ec);
    if (ec) return std::nullopt;
    return static_cast<std::uint64_t>(info.available);
}

bool nativeProcessorIs64Bit() {
    return sizeof(void*) == 8;
}

} // namespace platform
