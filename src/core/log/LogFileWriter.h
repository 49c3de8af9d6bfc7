#pragma once
// The log file's single writer: callers append finished lines to a queue in memory; one background thread
// writes the queue to "log/multis.log" every 500 ms, or at once when 10240 bytes are waiting, so that
// logging never waits for the disk.
//
// The file is UTF-8 without byte-order mark. A file that starts with a UTF-16 byte-order mark (an older
// format) is emptied when the writer starts. When the file reaches 50 MiB it is cut to its last 10 MiB.
// Destroying the writer writes everything queued before it.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace common {

// When the writer wakes and how large the file may grow.
struct LogFileLimits {
    std::size_t wakeBytes = 10240;
    std::chrono::milliseconds wakeInterval{500};
    std::uint64_t capBytes = 52428800;  // 50 MiB
    std::uint64_t keepBytes = 10485760; // 10 MiB
};

class LogFileWriter {
public:
    using Limits = LogFileLimits;

    LogFileWriter() = default; // closed: text enqueued now is dropped
    explicit LogFileWriter(const std::filesystem::path& path, Limits limits = {}) {
        (void)open(path, limits);
    } // unopened: text is dropped
    ~LogFileWriter() { close(); }

    LogFileWriter(const LogFileWriter&) = delete;
    LogFileWriter& operator=(const LogFileWriter&) = delete;

    // Starts the writer thread for `path`; false when it is already open.
    [[nodiscard]] bool open(const std::filesystem::path& path, Limits limits = {});
    // Writes everything queued, then stops the writer thread and closes the file.
    void close();
    bool isOpen() const;

    void enqueue(std::string_view text);
    void wake();

private:
    void run(const std::filesystem::path& path, const Limits& limits);
    void signal();

    // The queue is a list of chunks, so that a caller's append under the lock never copies what others queued
    // before (a single growing string would, each time it outgrows its room, while a starved writer lets it
    // grow to megabytes). Written chunks come back as spares, their room kept.
    static constexpr std::size_t kChunkBytes = 64 * 1024;
    static constexpr std::size_t kSpareChunks = 16;
    std::string takeChunk(); // with m_lock held

    mutable std::mutex m_lock; // guards the fields up to m_thread
    bool m_open = false;
    bool m_stop = false;
    std::size_t m_wakeBytes = Limits{}.wakeBytes;
    std::vector<std::string> m_full; // in the order written
    std::string m_current;           // the chunk callers append to
    std::size_t m_queuedBytes = 0;
    std::vector<std::string> m_spare;
    std::thread m_thread;

    std::mutex m_openClose; // one open or close at a time
    std::mutex m_eventLock; // the wake event: an auto-reset flag and its condition
    std::condition_variable m_event;
    std::atomic<bool> m_signalled{false};
};

} // namespace common
