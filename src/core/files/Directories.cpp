#include "core/files/Directories.h"

#include <system_error>

#include "core/log/Log.h"

namespace common {

bool create_directories(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        KVLOG_AS("common::create_directories", L"Exception !!! When Create Directories path = %s", folder);
        return false;
    }
    return true;
}

} // namespace common
