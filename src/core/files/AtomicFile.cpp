#include "core/files/AtomicFile.h"

#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

#include "core/files/Leftovers.h"
#include "core/log/Log.h"
#include "core/platform/Os.h"

namespace common::files {
namespace {

std::filesystem::path temporaryNameFor(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    auto name = target.filename();
    name += ".tmp" + std::to_string(platform::currentThreadId()) + "-" + std::to_string(counter++);
    return target.parent_path() / name;
}

} // namespace

bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    removeLeftoversOf(target); // of a write that was killed before its rename
    const auto temporary = temporaryNameFor(target);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            KVLOG(L"write %s failed", temporary);
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec); // replaces an existing target (MoveFileEx on Windows)
    if (ec) {
        KVLOG(L"replace %s failed: %S", target, ec.message());
        std::filesystem::remove(temporary, ec);
        return false;
    }
    return true;
}

} // namespace common::files
