#include "core/files/FileSwap.h"

#include <mutex>
#include <system_error>

#include "core/files/AtomicFile.h"
#include "core/log/Log.h"

namespace common::files {
namespace {

std::mutex g_moverLock;
FileMover g_mover;

bool renameFile(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (ec) KVLOG_AS("common::files::FileSwap", L"move %s to %s failed: %S", from, to, ec.message());
    return !ec;
}

FileMover currentMover() {
    std::lock_guard guard(g_moverLock);
    return g_mover ? g_mover : FileMover(renameFile);
}

bool present(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec)); // a link counts, not its target
}

} // namespace

void setFileMover(FileMover mover) {
    std::lock_guard guard(g_moverLock);
    g_mover = std::move(mover);
}

void FileSwap::replace(std::filesystem::path target, std::filesystem::path staged) {
    m_items.push_back({std::move(target), std::move(staged), {}, false});
}

bool FileSwap::commit() {
    const FileMover move = currentMover();
    for (Item& item : m_items) {
        if (!present(item.target)) continue;
        const auto aside = temporarySibling(item.target, "old");
        if (!move(item.target, aside)) {
            rollBack(move);
            return false;
        }
        item.aside = aside;
    }
    for (Item& item : m_items) {
        if (item.staged.empty()) continue;
        if (!move(item.staged, item.target)) {
            rollBack(move);
            return false;
        }
        item.movedIn = true;
    }
    for (const Item& item : m_items) {
        std::error_code ec;
        if (!item.aside.empty() && !std::filesystem::remove(item.aside, ec))
            KVLOG_AS("common::files::FileSwap", L"the old %s stays as %s: %S", item.target, item.aside, ec.message());
    }
    return true;
}

// Newest first: the staged files go back to where they were staged, then the old files to their names.
void FileSwap::rollBack(const FileMover& move) {
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (it->movedIn && move(it->target, it->staged)) it->movedIn = false;
        if (it->movedIn) KVLOG_AS("common::files::FileSwap", L"cannot take %s out again", it->target);
    }
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (it->aside.empty()) continue;
        if (move(it->aside, it->target))
            it->aside.clear();
        else
            KVLOG_AS("common::files::FileSwap", L"cannot put back %s: the old file is kept as %s", it->target,
                     it->aside);
    }
}

} // namespace common::files
