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
    ~LogFileWriter() {
        close();
        freeLines(m_lines.exchange(nullptr)); // pushed by a caller that raced the last close
    }

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

    // Callers never wait for one another: each line is pushed onto a lock-free stack with one
    // compare-and-swap, so a caller preempted in the middle of its push holds no one up. The writer takes the
    // whole stack at once and turns it round into the order the lines were pushed in.
    struct Line {
        Line* next;
        std::size_t size; // the text follows the header
    };
    static Line* newLine(std::string_view text);
    static void freeLines(Line* lines);
    // Takes every line pushed so far, oldest first, into `batch`; returns their bytes.
    std::size_t takeLines(std::string& batch);

    std::atomic<Line*> m_lines{nullptr};
    std::atomic<std::size_t> m_queuedBytes{0};
    std::atomic<bool> m_open{false};
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_wakeBytes{Limits{}.wakeBytes};
    std::thread m_thread;

    std::mutex m_openClose; // one open or close at a time; guards m_thread
    std::mutex m_eventLock; // the wake event: an auto-reset flag and its condition
    std::condition_variable m_event;
    std::atomic<bool> m_signalled{false};
};

} // namespace common
