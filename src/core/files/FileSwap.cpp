#include "core/files/FileSwap.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <system_error>

#include "core/files/AtomicFile.h"
#include "core/formats/FileBytes.h"
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

constexpr const char* kMoving = "moving";
constexpr const char* kDone = "done";
constexpr std::uint64_t kJournalLimit = 64 * 1024;

std::string utf8(const std::filesystem::path& path) {
    const auto bytes = path.u8string();
    return std::string(bytes.begin(), bytes.end());
}

std::filesystem::path fromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

struct SwapRecord {
    std::filesystem::path target, aside;
};

bool removeIfPresent(const std::filesystem::path& path) {
    std::error_code ec;
    if (path.empty() || !present(path) || std::filesystem::remove(path, ec)) return true;
    KVLOG_AS("common::files::recoverSwap", L"%s cannot be removed: %S", path, ec.message());
    return false;
}

// Killed while deleting the old files: the new ones are all in; what is left of the old goes.
bool keepNew(const SwapRecord& record) {
    return removeIfPresent(record.aside);
}

// Killed while moving: a target that had an old file holds a new one only while the old one waits aside, and
// a target that had none holds a new one whenever it exists. The old state comes back either way.
bool restoreOld(const SwapRecord& record) {
    const bool hadOld = !record.aside.empty();
    const bool asideThere = hadOld && present(record.aside);
    const bool newIn = present(record.target) && (asideThere || !hadOld);
    if (newIn && !removeIfPresent(record.target)) return false;
    if (!asideThere) return true;
    std::error_code ec;
    std::filesystem::rename(record.aside, record.target, ec);
    if (ec) {
        KVLOG_AS("common::files::recoverSwap", L"%s could not be put back from %s: %S", record.target, record.aside,
                 ec.message());
        return false;
    }
    KVLOG_AS("common::files::recoverSwap", L"put back %s from %s", record.target, record.aside);
    return true;
}

} // namespace

void setFileMover(FileMover mover) {
    std::lock_guard guard(g_moverLock);
    g_mover = std::move(mover);
}

void FileSwap::replace(std::filesystem::path target, std::filesystem::path staged) {
    m_items.push_back({std::move(target), std::move(staged), {}, false, false});
}

bool FileSwap::commit() {
    const FileMover move = currentMover();
    for (Item& item : m_items)
        if (present(item.target)) item.aside = temporarySibling(item.target, "old");
    if (!writeJournal(kMoving)) return false;
    for (Item& item : m_items) {
        if (item.aside.empty()) continue;
        if (!move(item.target, item.aside)) {
            if (rollBack(move)) dropJournal();
            return false;
        }
        item.movedAside = true;
    }
    for (Item& item : m_items) {
        if (item.staged.empty()) continue;
        if (!move(item.staged, item.target)) {
            if (rollBack(move)) dropJournal();
            return false;
        }
        item.movedIn = true;
    }
    // From here on a kill keeps the new files: the journal says so before the first old file goes.
    if (!writeJournal(kDone)) {
        if (rollBack(move)) dropJournal();
        return false;
    }
    for (const Item& item : m_items) {
        std::error_code ec;
        if (item.movedAside && !std::filesystem::remove(item.aside, ec))
            KVLOG_AS("common::files::FileSwap", L"the old %s stays as %s: %S", item.target, item.aside, ec.message());
    }
    dropJournal();
    return true;
}

// Newest first: the staged files go back to where they were staged, then the old files to their names.
bool FileSwap::rollBack(const FileMover& move) {
    bool whole = true;
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (it->movedIn && move(it->target, it->staged)) it->movedIn = false;
        if (it->movedIn) KVLOG_AS("common::files::FileSwap", L"cannot take %s out again", it->target);
        whole = whole && !it->movedIn;
    }
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (!it->movedAside) continue;
        if (move(it->aside, it->target)) {
            it->movedAside = false;
        } else {
            KVLOG_AS("common::files::FileSwap", L"cannot put back %s: the old file is kept as %s", it->target,
                     it->aside);
            whole = false;
        }
    }
    return whole;
}

// "moving" or "done", then two lines an item: its target and where its old file waits (empty when it had none).
bool FileSwap::writeJournal(const char* state) const {
    if (m_journal.empty()) return true;
    std::string text = std::string(state) + "\n";
    for (const Item& item : m_items)
        for (const auto* path : {&item.target, &item.aside}) text += utf8(*path) + "\n";
    if (writeFileAtomically(m_journal, text)) return true;
    KVLOG_AS("common::files::FileSwap", L"the journal %s cannot be written, nothing is swapped", m_journal);
    return false;
}

void FileSwap::dropJournal() const {
    std::error_code ec;
    if (!m_journal.empty() && !std::filesystem::remove(m_journal, ec) && ec)
        KVLOG_AS("common::files::FileSwap", L"the journal %s stays: %S", m_journal, ec.message());
}

void recoverSwap(const std::filesystem::path& journal) {
    const auto text = formats::readFileBytes(journal, kJournalLimit);
    if (!text) return;
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = text->find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text->substr(start, end - start));
    if (lines.empty() || lines.size() % 2 != 1) {
        KVLOG_AS("common::files::recoverSwap", L"the journal %s cannot be read, it is left as it is", journal);
        return;
    }
    const bool done = lines[0] == kDone;
    bool whole = true;
    for (auto i = static_cast<std::ptrdiff_t>(lines.size()) - 2; i >= 1; i -= 2) { // newest first
        const auto at = static_cast<std::size_t>(i);
        const SwapRecord record{fromUtf8(lines[at]), fromUtf8(lines[at + 1])};
        whole = (done ? keepNew(record) : restoreOld(record)) && whole;
    }
    KVLOG_AS("common::files::recoverSwap", L"a swap that was killed is %s", done ? L"finished" : L"undone");
    if (whole) {
        std::error_code ec;
        std::filesystem::remove(journal, ec);
    }
}

} // namespace common::files
