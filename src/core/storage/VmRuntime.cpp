#include "core/storage/VmRuntime.h"

#include <cstdio>
#include <cwctype>
#include <system_error>

#include "core/platform/Os.h"
#include "core/platform/SystemFacts.h"

namespace common {

std::filesystem::path chooseVmRuntimeFolder(const std::filesystem::path& driveRoot,
                                            const std::filesystem::path& programFolder, bool processor64) {
    const std::filesystem::path installed = driveRoot / "Program Files/kvplayer9box";
    const std::filesystem::path bundled =
        programFolder / "KvBox" / (processor64 ? "win.amd64" : "win.x86") / std::filesystem::path();
    std::error_code ec;
    if (std::filesystem::exists(installed, ec)) return installed;
    if (std::filesystem::exists(bundled, ec)) return bundled;
    return installed;
}

const std::filesystem::path& vmRuntimeFolder() {
    static const std::filesystem::path folder = chooseVmRuntimeFolder(
        platform::systemDriveRoot(), platform::programFolder(), platform::nativeProcessorIs64Bit());
    return folder;
}

// The hash runs over UTF-16 code units; natively a wide character above the BMP is one unit of 32 bits.
std::uint32_t programFolderHash(std::wstring_view folderWithSeparator) {
    std::uint32_t h = 1315423911u;
    const auto mix = [&h](std::uint32_t unit) { h ^= (h << 5) + (h >> 2) + unit; };
    for (const wchar_t c : folderWithSeparator) {
        const auto lower = static_cast<std::uint32_t>(std::towlower(static_cast<std::wint_t>(c)));
        if (lower > 0xFFFFu) {
            mix(0xD800u + ((lower - 0x10000u) >> 10));
            mix(0xDC00u + ((lower - 0x10000u) & 0x3FFu));
        } else {
            mix(lower);
        }
    }
    return h & 0x7fffu;
}

std::wstring vmUuidFor(std::wstring_view folderWithSeparator, int index) {
    wchar_t text[64] = {};
    std::swprintf(text, 64, L"{20160302-bbbb-bbbb-%04x-0000%08x}", programFolderHash(folderWithSeparator),
                  static_cast<unsigned>(index));
    return text;
}

std::wstring vmUuid(int index) {
    std::wstring folder = platform::programFolder().wstring();
    folder.push_back(static_cast<wchar_t>(std::filesystem::path::preferred_separator));
    return vmUuidFor(folder, index);
}

} // namespace common
