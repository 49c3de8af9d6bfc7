#include "core/log/LogFileWriter.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "core/platform/ThreadPriority.h"

namespace common {
namespace {

// Opening "for reading and appending": std::fstream opens the file shared for reading and writing by other
// processes on both platforms (msvcrt's fopen does not deny sharing).
std::fstream openForAppend(const std::filesystem::path& path) {
    std::fstream f(path, std::ios::in | std::ios::out | std::ios::app | std::ios::binary);
    if (!f.is_open()) f.open(path, std::ios::out | std::ios::app | std::ios::binary);
    return f;
}

std::fstream openEmptied(const std::filesystem::path& path) {
    return std::fstream(path, std::ios::out | std::ios::trunc | std::ios::binary);
}

// An older format wrote UTF-16 with a byte-order mark; such a file is started afresh.
bool startsWithUtf16Mark(std::fstream& f) {
    char mark[2] = {};
    f.seekg(0, std::ios::beg);
    f.read(mark, 2);
    const bool bom =
        f.good() && static_cast<unsigned char>(mark[0]) == 0xFF && static_cast<unsigned char>(mark[1]) == 0xFE;
    f.clear();
    return bom;
}

// Keeps only the last `keep` bytes of the file: read them, empty the file, write them back.
void cutToTail(std::fstream& f, const std::filesystem::path& path, std::uint64_t size, std::uint64_t keep) {
    std::vector<char> tail(static_cast<std::size_t>(std::min(keep, size)));
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(size - tail.size()), std::ios::beg);
    in.read(tail.data(), static_cast<std::streamsize>(tail.size()));
    tail.resize(static_cast<std::size_t>(in.gcount()));
    in.close();
    f.close();
    f = openEmptied(path);
    f.write(tail.data(), static_cast<std::streamsize>(tail.size()));
    f.flush();
}

} // namespace

bool LogFileWriter::open(const std::filesystem::path& path, Limits limits) {
    std::lock_guard serial(m_openClose);
    std::lock_guard guard(m_lock);
    if (m_open) return false;
    m_open = true;
    m_stop = false;
    m_wakeBytes = limits.wakeBytes;
    if (m_current.capacity() < kChunkBytes) m_current.reserve(kChunkBytes);
    m_thread = std::thread([this, path, limits] { run(path, limits); });
    return true;
}

void LogFileWriter::close() {
    std::lock_guard serial(m_openClose);
    std::thread thread;
    {
        std::lock_guard guard(m_lock);
        if (!m_open) return;
        m_open = false; // later lines are dropped
        m_stop = true;
        thread.swap(m_thread);
    }
    signal();
    thread.join(); // the writer writes what was queued before the stop
}

bool LogFileWriter::isOpen() const {
    std::lock_guard guard(m_lock);
    return m_open;
}

std::string LogFileWriter::takeChunk() {
    if (m_spare.empty()) {
        std::string chunk;
        chunk.reserve(kChunkBytes);
        return chunk;
    }
    std::string chunk = std::move(m_spare.back());
    m_spare.pop_back();
    return chunk;
}

void LogFileWriter::enqueue(std::string_view text) {
    std::size_t queued;
    std::size_t threshold;
    {
        std::lock_guard guard(m_lock);
        if (!m_open) return;
        if (!m_current.empty() && m_current.size() + text.size() > m_current.capacity()) {
            m_full.push_back(std::move(m_current));
            m_current = takeChunk();
        }
        m_current.append(text); // a line longer than a chunk grows its own chunk
        queued = m_queuedBytes += text.size();
        threshold = m_wakeBytes;
    }
    if (queued >= threshold) signal();
}

void LogFileWriter::wake() {
    signal();
}

// An auto-reset event: signalling one that is already signalled changes nothing, so callers skip the lock
// and the wake-up call while the writer has not yet taken the last signal.
void LogFileWriter::signal() {
    if (m_signalled.load()) return;
    {
        std::lock_guard guard(m_eventLock);
        m_signalled.store(true);
    }
    m_event.notify_one();
}

void LogFileWriter::run(const std::filesystem::path& path, const Limits& limits) {
    // A caller that reaches the wake threshold wakes this thread; were the woken writer to take that caller's
    // processor, the log call would last as long as the whole write. Below normal priority it waits for a
    // free processor (a busy one leaves more lines for its next write).
    platform::lowerCurrentThreadPriority();
    std::fstream file = openForAppend(path);
    if (file.is_open() && startsWithUtf16Mark(file)) {
        file.close();
        file = openEmptied(path);
    }
    file.clear();
    file.seekp(0, std::ios::end);

    std::vector<std::string> batch;
    std::string fresh; // the next chunk callers append to, allocated here rather than under the lock
    for (;;) {
        {
            std::unique_lock wait(m_eventLock);
            m_event.wait_for(wait, limits.wakeInterval, [this] { return m_signalled.load(); });
            m_signalled.store(false);
        }
        if (fresh.capacity() < kChunkBytes) fresh.reserve(kChunkBytes);
        bool stop;
        {
            std::lock_guard guard(m_lock);
            batch.swap(m_full);
            if (!m_current.empty()) {
                batch.push_back(std::move(m_current));
                m_current = std::move(fresh);
                fresh = std::string();
            }
            m_queuedBytes = 0;
            stop = m_stop; // tested after taking the queue: text queued before the stop is written
        }
        bool written = false;
        for (const std::string& chunk : batch)
            if (!chunk.empty() && file.is_open()) {
                file.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
                written = true;
            }
        if (written) {
            file.flush();
            const auto end = file.tellp();
            if (end >= 0 && static_cast<std::uint64_t>(end) >= limits.capBytes)
                cutToTail(file, path, static_cast<std::uint64_t>(end), limits.keepBytes);
        }
        for (std::string& chunk : batch) chunk.clear();
        {
            std::lock_guard guard(m_lock);
            for (std::string& chunk : batch)
                if (m_spare.size() < kSpareChunks && chunk.capacity() >= kChunkBytes &&
                    chunk.capacity() <= 2 * kChunkBytes) // a chunk grown by a long line is let go
                    m_spare.push_back(std::move(chunk));
        }
        batch.clear();
        if (stop) break;
    }
}

} // namespace common
