#pragma once
// The program's log: `writeLog` formats a message on the caller's thread and hands it to the installed sink.
//
//   KVLOG(L"instance %d started, path %s", index, path);        // function name taken from the caller
//   KVLOG_AS("KVMultiModel::isOldUser", L"it is old user: %d", old);
//
// Formats are Windows wide-printf formats (see WideFormat.h). Until a sink is installed, and after it is
// removed, log calls do nothing and return 0. The file sink writes "log/multis.log" through a background
// writer (LogFileWriter.h); lines logged before the file is opened are dropped.
//
// The texts of the log lines are fixed: support tools, older managers' users and our tests read them as they
// stand. A few look garbled ("run run run ", "it is a large streen", "sore for h", "fame out off screen!")
// and are nevertheless the program's own lines; do not correct them.

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <type_traits>

#include "core/log/LogFileWriter.h"
#include "core/log/WideFormat.h"

namespace common {

// (qualified function name, line number, formatted message) → the sink's result.
using LogSink = int (*)(std::string_view function, int line, std::wstring_view message);

// Characters of the formatting buffer, terminator included: longer messages are cut.
inline constexpr std::size_t kLogMessageChars = 10240;

void setLogSink(LogSink sink);
LogSink logSink();

namespace detail {
int writeLogPacked(LogSink sink, std::string_view function, int line, std::wstring_view format, const fmt::Arg* args,
                   std::size_t count);
} // namespace detail

template <class... A>
int writeLog(std::string_view function, int line, std::wstring_view format, const A&... args) {
    const LogSink sink = logSink();
    if (!sink) return 0;
    const fmt::Arg packed[] = {fmt::makeArg(args)..., fmt::Arg{}};
    return detail::writeLogPacked(sink, function, line, format, packed, sizeof...(A));
}

// The file sink: header, message as UTF-8, line end, queued for the writer thread.
int fileLogSink(std::string_view function, int line, std::wstring_view message);

void installLogSink(); // sets the file sink
void removeLogSink();  // clears the sink: later calls do nothing
// Creates the writer for "log/multis.log" below `programFolder`, creating the "log" folder. A second call
// while a writer exists does nothing.
void openLogFile(const std::filesystem::path& programFolder);
// Destroys the writer after it has written everything queued.
void closeLogFile();
void wakeLogWriter();

// For tests and tools: the same writer for any file, with its own limits. False when a file is open.
[[nodiscard]] bool openLogFile(const std::filesystem::path& file, const LogFileWriter::Limits& limits);

// "bool KVMultiModel::launch(int)" → "KVMultiModel::launch": the qualified name inside a compiler's pretty
// function signature. Evaluated at compile time by KVLOG.
namespace detail {
constexpr std::size_t functionNameEnd(std::string_view pretty) {
    int depth = 0;
    for (std::size_t i = 0; i < pretty.size(); ++i) {
        const char c = pretty[i];
        if (c == '<')
            ++depth;
        else if (c == '>')
            --depth;
        else if (c == '(' && depth == 0 && i > 0)
            return i;
    }
    return pretty.size();
}
constexpr std::size_t functionNameStart(std::string_view pretty) {
    const std::size_t end = functionNameEnd(pretty);
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < end; ++i) {
        const char c = pretty[i];
        if (c == '<')
            ++depth;
        else if (c == '>')
            --depth;
        else if (c == ' ' && depth == 0)
            start = i + 1;
    }
    return start;
}
constexpr std::size_t functionNameLength(std::string_view pretty) {
    return functionNameEnd(pretty) - functionNameStart(pretty);
}
} // namespace detail

} // namespace common

#define KV_FUNCTION_NAME                                                                                               \
    (::std::string_view(                                                                                               \
        __PRETTY_FUNCTION__ +                                                                                          \
            ::std::integral_constant<::std::size_t, ::common::detail::functionNameStart(__PRETTY_FUNCTION__)>::value,  \
        ::std::integral_constant<::std::size_t, ::common::detail::functionNameLength(__PRETTY_FUNCTION__)>::value))

#define KVLOG(...) ::common::writeLog(KV_FUNCTION_NAME, __LINE__, __VA_ARGS__)
#define KVLOG_AS(function, ...) ::common::writeLog(function, __LINE__, __VA_ARGS__)
