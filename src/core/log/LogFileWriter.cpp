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

void LogFileWriter::enqueue(std::string_view text) {
    std::size_t queued;
    std::size_t threshold;
    {
        std::lock_guard guard(m_lock);
        if (!m_open) return;
        m_queued.append(text);
        queued = m_queued.size();
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

    std::string batch;
    std::size_t largest = 0;
    for (;;) {
        {
            std::unique_lock wait(m_eventLock);
            m_event.wait_for(wait, limits.wakeInterval, [this] { return m_signalled.load(); });
            m_signalled.store(false);
        }
        bool stop;
        {
            std::lock_guard guard(m_lock);
            batch.swap(m_queued);
            stop = m_stop; // tested after taking the queue: text queued before the stop is written
        }
        if (!batch.empty() && file.is_open()) {
            file.write(batch.data(), static_cast<std::streamsize>(batch.size()));
            file.flush();
            const auto end = file.tellp();
            if (end >= 0 && static_cast<std::uint64_t>(end) >= limits.capBytes)
                cutToTail(file, path, static_cast<std::uint64_t>(end), limits.keepBytes);
        }
        // This string is the queue callers append to after the next swap: room for twice the largest batch
        // so far (up to 1 MiB), reserved here, spares them a reallocation under the lock.
        largest = std::max(largest, batch.size());
        batch.clear();
        batch.reserve(std::min<std::size_t>(2 * largest, 1 << 20));
        if (stop) break;
    }
}

} // namespace common
