// The archiver natively (Debian's 7zz in tests and benchmarks): posix_spawn with standard output and error
// on one pipe, read in chunks of up to 1024 bytes until end of file. The pipe is close-on-exec, so other
// programs started meanwhile never hold its write end. The archiver gets a process group of its own, so
// that a time-out kills whatever it started too (which would otherwise keep the pipe open).

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
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
                               const std::function<void(std::string_view)>& onOutput,
                               std::chrono::milliseconds idleTimeout) {
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
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    write.close();
    if (spawned != 0) {
        run.error = spawned;
        return run;
    }
    run.started = true;
    const int waitLimit = static_cast<int>(std::min<long long>(idleTimeout.count(), INT_MAX));
    char chunk[1024];
    for (;;) {
        pollfd waiting{read.fd, POLLIN, 0};
        const int ready = poll(&waiting, 1, run.timedOut ? -1 : waitLimit);
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) {
            run.timedOut = true;
            kill(-pid, SIGKILL); // its end of the pipe closes; the loop then reads to the end
            continue;
        }
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
