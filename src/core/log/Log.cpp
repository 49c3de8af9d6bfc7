#include "core/log/Log.h"

#include <atomic>
#include <system_error>
#include <thread>

#include "core/log/LogFileWriter.h"
#include "core/log/LogStream.h"
#include "core/platform/Os.h"

namespace common {
namespace {

std::atomic<LogSink> g_sink{nullptr};

// The writer is reached by every logging thread; closing waits until none is inside enqueue. Sequentially
// consistent order on both atomics: a thread that saw the writer has announced itself before the closer
// counts users.
std::atomic<LogFileWriter*> g_writer{nullptr};
std::atomic<int> g_writerUsers{0};

// The thread id is asked of the system once per thread.
thread_local const std::uint32_t t_threadId = platform::currentThreadId();

} // namespace

void setLogSink(LogSink sink) { g_sink.store(sink, std::memory_order_release); }
LogSink logSink() { return g_sink.load(std::memory_order_acquire); }

namespace detail {
int writeLogPacked(LogSink sink, std::string_view function, int line, std::wstring_view format,
                   const fmt::Arg* args, std::size_t count) {
    wchar_t buffer[kLogMessageChars];
    fmt::WideOut out(buffer, kLogMessageChars - 1);
    fmt::formatTo(out, format, args, count);
    buffer[out.size()] = L'\0';
    return sink(function, line, out.view());
}
} // namespace detail

int fileLogSink(std::string_view function, int line, std::wstring_view message) {
    LogStream stream;
    stream.writeHeader(platform::localTimeNow(), t_threadId, function, line);
    stream.writeUtf8(message);
    stream.finish();

    g_writerUsers.fetch_add(1);
    if (LogFileWriter* writer = g_writer.load()) writer->enqueue(stream.text());
    g_writerUsers.fetch_sub(1);
    return static_cast<int>(stream.text().size());
}

void installLogSink() { setLogSink(&fileLogSink); }
void removeLogSink() { setLogSink(nullptr); }

void openLogFileWriter(LogFileWriter* writer) {
    LogFileWriter* expected = nullptr;
    if (!g_writer.compare_exchange_strong(expected, writer)) delete writer;
}

void openLogFile(const std::filesystem::path& programFolder) {
    if (g_writer.load()) return;
    const auto folder = programFolder / "log";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec); // a failure shows as a log that stays empty
    openLogFileWriter(new LogFileWriter(folder / "multis.log"));
}

void closeLogFile() {
    LogFileWriter* writer = g_writer.exchange(nullptr);
    if (!writer) return;
    while (g_writerUsers.load() != 0) std::this_thread::yield();
    delete writer;
}

void wakeLogWriter() {
    g_writerUsers.fetch_add(1);
    if (LogFileWriter* writer = g_writer.load()) writer->wake();
    g_writerUsers.fetch_sub(1);
}

} // namespace common
