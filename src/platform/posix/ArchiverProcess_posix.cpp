// The archiver natively (Debian's 7zz in tests and benchmarks): posix_spawn with standard output and error
// on one pipe, read in chunks of up to 1024 bytes until end of file. The pipe is close-on-exec, so other
// programs started meanwhile never hold its write end.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "core/platform/ArchiverProcess.h"
#include "core/text/Utf.h"

extern char** environ;

namespace platform {
namespace {

// The Windows reading of a command line for what the archiver lines contain: arguments separated by blanks,
// double quotes group blanks and are removed.
std::vector<std::string> splitCommandLine(const std::wstring& commandLine) {
    std::vector<std::string> args;
    std::wstring current;
    bool quoted = false, any = false;
    for (wchar_t c : commandLine) {
        if (c == L'"') {
            quoted = !quoted;
            any = true;
        } else if ((c == L' ' || c == L'\t') && !quoted) {
            if (any) args.push_back(common::text::toUtf8(current));
            current.clear();
            any = false;
        } else {
            current.push_back(c);
            any = true;
        }
    }
    if (any) args.push_back(common::text::toUtf8(current));
    return args;
}

struct Fd {
    int fd = -1;
    ~Fd() { close(); }
    void close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
};

} // namespace

ArchiverRun runArchiverProcess(const std::filesystem::path& program, const std::wstring& commandLine,
                               const std::function<void(std::string_view)>& onOutput) {
    ArchiverRun run;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        run.error = errno;
        return run;
    }
    Fd read{fds[0]}, write{fds[1]};
    run.pipeCreated = true;
    auto args = splitCommandLine(commandLine);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, write.fd, 1);
    posix_spawn_file_actions_adddup2(&actions, write.fd, 2);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    write.close();
    if (spawned != 0) {
        run.error = spawned;
        return run;
    }
    run.started = true;
    char chunk[1024];
    for (;;) {
        const ssize_t got = ::read(read.fd, chunk, sizeof chunk);
        if (got > 0) {
            if (onOutput) onOutput(std::string_view(chunk, static_cast<std::size_t>(got)));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            run.error = got == 0 ? kBrokenPipe : errno;
            break;
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

} // namespace platform
