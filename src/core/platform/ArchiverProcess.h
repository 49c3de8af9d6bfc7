#pragma once
// Running the external archiver: hidden, its standard output and error going into one pipe that is read in
// chunks while it runs, its standard input the null device (a question such as 7-Zip's password prompt
// reads end of file instead of waiting for a user who is not there). An archiver that writes nothing for
// `idleTimeout` is killed. Only the archiver goes through here; general process control lives elsewhere.
//
// Windows starts `program` with CreateProcessW and hands it `commandLine` unchanged (the program's own text
// first, as every Windows program expects). The native build splits the same text the Windows way (blanks
// outside double quotes, quotes removed) and executes `program` with those arguments.

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Windows' "broken pipe": the reading ended because the archiver closed its end. Natively, end of file.
inline constexpr int kBrokenPipe = 109;

struct ArchiverRun {
    bool pipeCreated = false;
    bool started = false;
    int error = 0;         // the system error of the failed step (pipe, start or the read that ended the output)
    int exitCode = -1;     // the archiver's exit code when it was started and waited for
    bool timedOut = false; // killed after `idleTimeout` without output
};

ArchiverRun runArchiverProcess(const std::filesystem::path& program, const std::wstring& commandLine,
                               const std::function<void(std::string_view chunk)>& onOutput,
                               std::chrono::milliseconds idleTimeout);

} // namespace platform
