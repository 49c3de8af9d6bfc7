#include "core/log/LogFileWriter.h"

#include <algorithm>
#include <cstring>
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
    if (m_open) return false;
    m_stop = false;
    m_wakeBytes = limits.wakeBytes;
    m_thread = std::thread([this, path, limits] { run(path, limits); });
    m_open = true;
    return true;
}

void LogFileWriter::close() {
    std::lock_guard serial(m_openClose);
    if (!m_open) return;
    m_open = false; // later lines are dropped
    m_stop = true;
    signal();
    m_thread.join();                      // the writer writes what was queued before the stop
    freeLines(m_lines.exchange(nullptr)); // pushed by a caller that raced the stop: dropped
    m_queuedBytes = 0;
}

bool LogFileWriter::isOpen() const {
    return m_open;
}

LogFileWriter::Line* LogFileWriter::newLine(std::string_view text) {
    auto* line = static_cast<Line*>(::operator new(sizeof(Line) + text.size()));
    line->next = nullptr;
    line->size = text.size();
    std::memcpy(line + 1, text.data(), text.size());
    return line;
}

void LogFileWriter::freeLines(Line* lines) {
    while (lines) {
        Line* next = lines->next;
        ::operator delete(lines);
        lines = next;
    }
}

void LogFileWriter::enqueue(std::string_view text) {
    if (!m_open) return;
    Line* line = newLine(text); // allocated and filled before the push, by this caller alone
    line->next = m_lines.load(std::memory_order_relaxed);
    while (!m_lines.compare_exchange_weak(line->next, line, std::memory_order_release, std::memory_order_relaxed)) {}
    const std::size_t queued = m_queuedBytes.fetch_add(text.size()) + text.size();
    if (queued >= m_wakeBytes.load(std::memory_order_relaxed)) signal();
}

std::size_t LogFileWriter::takeLines(std::string& batch) {
    Line* newestFirst = m_lines.exchange(nullptr, std::memory_order_acquire);
    Line* oldestFirst = nullptr;
    std::size_t bytes = 0;
    while (newestFirst) {
        Line* next = newestFirst->next;
        newestFirst->next = oldestFirst;
        oldestFirst = newestFirst;
        bytes += newestFirst->size;
        newestFirst = next;
    }
    batch.reserve(batch.size() + bytes);
    for (const Line* line = oldestFirst; line; line = line->next)
        batch.append(reinterpret_cast<const char*>(line + 1), line->size);
    freeLines(oldestFirst);
    m_queuedBytes.fetch_sub(bytes);
    return bytes;
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
    for (;;) {
        {
            std::unique_lock wait(m_eventLock);
            m_event.wait_for(wait, limits.wakeInterval, [this] { return m_signalled.load(); });
            m_signalled.store(false);
        }
        // Tested before taking the lines: every line queued before the stop is among those taken.
        const bool stop = m_stop;
        takeLines(batch);
        if (!batch.empty() && file.is_open()) {
            file.write(batch.data(), static_cast<std::streamsize>(batch.size()));
            file.flush();
            const auto end = file.tellp();
            if (end >= 0 && static_cast<std::uint64_t>(end) >= limits.capBytes)
                cutToTail(file, path, static_cast<std::uint64_t>(end), limits.keepBytes);
        }
        batch.clear();
        if (stop) break;
    }
}

} // namespace common
