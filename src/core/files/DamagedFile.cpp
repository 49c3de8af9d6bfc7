#include "core/files/DamagedFile.h"

#include <string>
#include <system_error>

#include "core/log/Log.h"
#include "core/platform/FileSync.h"

namespace common::files {
namespace {

constexpr int kMaxKeptCopies = 1000;

std::filesystem::path keptName(const std::filesystem::path& file, int n) {
    auto name = file.filename();
    name += n == 1 ? std::string(".bad") : "." + std::to_string(n) + ".bad";
    return file.parent_path() / name;
}

} // namespace

std::filesystem::path keepDamagedCopy(const std::filesystem::path& file) {
    for (int n = 1; n <= kMaxKeptCopies; ++n) {
        const auto kept = keptName(file, n);
        std::error_code ec;
        // Without overwrite_existing the copy fails on an existing name: an earlier copy stays as it is.
        if (std::filesystem::copy_file(file, kept, std::filesystem::copy_options::none, ec)) {
            if (!platform::flushFileToDisk(kept)) return {};
            KVLOG(L"%s could not be read; kept as %s", file, kept);
            return kept;
        }
        std::error_code existsError;
        if (!std::filesystem::exists(kept, existsError)) {
            KVLOG(L"keep %s as %s failed: %S", file, kept, ec.message());
            return {};
        }
    }
    KVLOG(L"keep %s failed: %d copies are kept already", file, kMaxKeptCopies);
    return {};
}

} // namespace common::files
