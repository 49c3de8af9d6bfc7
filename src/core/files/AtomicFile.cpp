#include "core/files/AtomicFile.h"

#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

#include "core/files/Leftovers.h"
#include "core/log/Log.h"
#include "core/platform/FileSync.h"
#include "core/platform/Os.h"

namespace common::files {
namespace {

std::atomic<FlushToDisk> g_flush{&platform::flushFileToDisk};

void removeQuietly(const std::filesystem::path& file) {
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
}

} // namespace

std::filesystem::path temporarySibling(const std::filesystem::path& target, const char* tag) {
    static std::atomic<unsigned> counter{0};
    auto name = target.filename();
    name += std::string(".") + tag + std::to_string(platform::currentThreadId()) + "-" + std::to_string(counter++);
    return target.parent_path() / name;
}

bool replaceFileAtomically(const std::filesystem::path& target, const char* tag, const FillTemporary& fill) {
    removeLeftoversOf(target); // of a write that was killed before its rename
    const auto temporary = temporarySibling(target, tag);
    if (!fill(temporary)) {
        removeQuietly(temporary);
        return false;
    }
    // A rename that reaches the disk before the bytes would leave an empty file under the target's name.
    if (!g_flush.load()(temporary)) {
        KVLOG(L"flush %s failed; %s is left as it was", temporary, target);
        removeQuietly(temporary);
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary, target, ec); // replaces an existing target (MoveFileEx on Windows)
    if (ec) {
        KVLOG(L"replace %s failed: %S", target, ec.message());
        removeQuietly(temporary);
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
    return replaceFileAtomically(target, "tmp", [bytes](const std::filesystem::path& temporary) {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) KVLOG(L"write %s failed", temporary);
        return static_cast<bool>(out);
    });
}

FlushToDisk replaceFlushForTesting(FlushToDisk flush) {
    return g_flush.exchange(flush);
}

} // namespace common::files
