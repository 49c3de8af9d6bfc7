#pragma once
// The log file's single writer: callers append finished lines to a queue in memory; one background thread
// writes the queue to "log/multis.log" every 500 ms, or at once when 10240 bytes are waiting, so that
// logging never waits for the disk.
//
// The file is UTF-8 without byte-order mark. A file that starts with a UTF-16 byte-order mark (an older
// format) is emptied when the writer starts. When the file reaches 50 MiB it is cut to its last 10 MiB.
// Destroying the writer writes everything queued before it.

#include <condition_variable>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace common {

class LogFileWriter {
public:
    struct Limits {
        std::size_t wakeBytes = 10240;
        std::chrono::milliseconds wakeInterval{500};
        std::uint64_t capBytes = 52428800; // 50 MiB
        std::uint64_t keepBytes = 10485760; // 10 MiB
    };

    explicit LogFileWriter(std::filesystem::path path) : LogFileWriter(std::move(path), Limits{}) {}
    LogFileWriter(std::filesystem::path path, Limits limits);
    ~LogFileWriter();

    LogFileWriter(const LogFileWriter&) = delete;
    LogFileWriter& operator=(const LogFileWriter&) = delete;

    void enqueue(std::string_view text);
    void wake();

private:
    void run();
    void signal();

    const std::filesystem::path m_path;
    const Limits m_limits;
    bool m_stop = false; // written under m_lock, read by the writer thread under it
    std::string m_queued;
    std::mutex m_lock;
    std::mutex m_eventLock; // the wake event: an auto-reset flag and its condition
    std::condition_variable m_event;
    bool m_signalled = false;
    std::thread m_thread; // last: starts after every other member exists
};

} // namespace common
