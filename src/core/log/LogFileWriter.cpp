#include "core/log/LogFileWriter.h"

#include <fstream>
#include <vector>

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
    const bool bom = f.good() && static_cast<unsigned char>(mark[0]) == 0xFF &&
                     static_cast<unsigned char>(mark[1]) == 0xFE;
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

LogFileWriter::LogFileWriter(std::filesystem::path path, Limits limits)
    : m_path(std::move(path)), m_limits(limits), m_thread([this] { run(); }) {}

LogFileWriter::~LogFileWriter() {
    {
        std::lock_guard guard(m_lock);
        m_stop = true;
    }
    signal();
    if (m_thread.joinable()) m_thread.join();
}

void LogFileWriter::enqueue(std::string_view text) {
    std::size_t queued;
    {
        std::lock_guard guard(m_lock);
        m_queued.append(text);
        queued = m_queued.size();
    }
    if (queued >= m_limits.wakeBytes) signal();
}

void LogFileWriter::wake() { signal(); }

void LogFileWriter::signal() {
    {
        std::lock_guard guard(m_eventLock);
        m_signalled = true;
    }
    m_event.notify_one();
}

void LogFileWriter::run() {
    std::fstream file = openForAppend(m_path);
    if (file.is_open() && startsWithUtf16Mark(file)) {
        file.close();
        file = openEmptied(m_path);
    }
    file.clear();
    file.seekp(0, std::ios::end);

    std::string batch;
    for (;;) {
        {
            std::unique_lock wait(m_eventLock);
            m_event.wait_for(wait, m_limits.wakeInterval, [this] { return m_signalled; });
            m_signalled = false;
        }
        bool stop;
        {
            std::lock_guard guard(m_lock);
            batch.swap(m_queued);
            stop = m_stop;
        }
        if (!batch.empty() && file.is_open()) {
            file.write(batch.data(), static_cast<std::streamsize>(batch.size()));
            file.flush();
            batch.clear();
            const auto end = file.tellp();
            if (end >= 0 && static_cast<std::uint64_t>(end) >= m_limits.capBytes)
                cutToTail(file, m_path, static_cast<std::uint64_t>(end), m_limits.keepBytes);
        }
        batch.clear();
        if (stop) break;
    }
}

} // namespace common
