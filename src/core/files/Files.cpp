#include "core/files/Files.h"

#include <system_error>

#include "core/files/AtomicFile.h"
#include "core/files/Directories.h"
#include "core/files/FileTree.h"
#include "core/log/Log.h"

namespace common::files {

bool fileExists(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

std::uint64_t folderBytes(const std::filesystem::path& folder) {
    return treeBytes(folder);
}

TreeFacts folderBytesAndEntry(const std::filesystem::path& folder, const std::filesystem::path& name) {
    return treeBytesAndEntry(folder, name);
}

// Through a temporary file and a rename, which replaces a link at the target itself: what a link there
// pointed to is never written.
bool copy_overwrite(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (target.has_parent_path()) common::create_directories(target.parent_path());
    const auto temporary = temporarySibling(target, "part");
    std::error_code ec;
    std::filesystem::copy_file(source, temporary, std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) std::filesystem::rename(temporary, target, ec);
    if (ec) {
        KVLOG(L"Copy File Failed from = %s, to = %s lassterror %d", source, target, ec.value());
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool copyReplacing(const std::filesystem::path& source, const std::filesystem::path& target,
                   const utility::ufile::CopyProgress& progress) {
    return replaceFileAtomically(target, "part", [&](const std::filesystem::path& temporary) {
        return utility::ufile::copyFileByStream(source, temporary, progress);
    });
}

} // namespace common::files
