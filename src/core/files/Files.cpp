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

std::future<std::vector<TreeFacts>> walkFoldersAside(std::vector<std::filesystem::path> folders,
                                                     std::filesystem::path name) {
    // Both policies: the library runs the walks on the caller's thread, at get(), when it cannot start one.
    return std::async(std::launch::async | std::launch::deferred,
                      [folders = std::move(folders), name = std::move(name)] {
                          std::vector<TreeFacts> facts;
                          facts.reserve(folders.size());
                          for (const auto& folder : folders) facts.push_back(treeBytesAndEntry(folder, name));
                          return facts;
                      });
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
