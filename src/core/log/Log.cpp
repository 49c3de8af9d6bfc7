#include "core/log/Log.h"

#include <atomic>
#include <system_error>

#include "core/log/LogFileWriter.h"
#include "core/log/LogStream.h"
#include "core/platform/Os.h"

namespace common {
namespace {

std::atomic<LogSink> g_sink{nullptr};

// The process's log file writer is never destroyed (not even by static destructors at exit), so logging
// threads never race its destruction: closing stops its thread and drops later lines instead.
LogFileWriter& processWriter() {
    static auto* writer = new LogFileWriter;
    return *writer;
}

// The thread id is asked of the system once per thread.
thread_local const std::uint32_t t_threadId = platform::currentThreadId();

} // namespace

void setLogSink(LogSink sink) {
    g_sink.store(sink, std::memory_order_release);
}
LogSink logSink() {
    return g_sink.load(std::memory_order_acquire);
}

namespace detail {
int writeLogPacked(LogSink sink, std::string_view function, int line, std::wstring_view format, const fmt::Arg* args,
                   std::size_t count) {
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

    processWriter().enqueue(stream.text());
    return static_cast<int>(stream.text().size());
}

void installLogSink() {
    setLogSink(&fileLogSink);
}
void removeLogSink() {
    setLogSink(nullptr);
}

void openLogFile(const std::filesystem::path& programFolder) {
    if (processWriter().isOpen()) return;
    const auto folder = programFolder / "log";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);                   // a failure shows as a log that stays empty
    (void)openLogFile(folder / "multis.log", LogFileWriter::Limits{}); // without a file there is nowhere to say so
}

bool openLogFile(const std::filesystem::path& file, const LogFileWriter::Limits& limits) {
    return processWriter().open(file, limits);
}

void closeLogFile() {
    processWriter().close();
}

void wakeLogWriter() {
    processWriter().wake();
}

} // namespace common
