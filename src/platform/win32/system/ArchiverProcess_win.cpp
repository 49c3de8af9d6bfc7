// The archiver under Windows: an anonymous pipe for its standard output and error, CreateProcessW hidden,
// the pipe read in chunks of up to 1024 bytes until it breaks (error 109: the archiver ended).
//
// Only one write end may be inheritable at a time: a second archiver started meanwhile would inherit the
// first one's write end and keep that pipe open until it exits itself. The write end is therefore made
// inheritable just before CreateProcessW and closed right after, under one process-wide lock.
//
// Standard input is the null device: 7-Zip asks for the password of an encrypted archive on it, and the
// manager's own standard input (a console, or a pipe nobody writes) would keep it waiting for good. A
// watcher ends an archiver that writes nothing for the idle time-out; its death breaks the pipe.

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "core/log/Log.h"
#include "core/platform/ArchiverProcess.h"
#include "platform/win32/system/Owned_win.h"

namespace platform {
namespace {

std::mutex g_startLock;

using win32::ProcessHandles;
using win32::UniqueHandle;

bool start(const std::filesystem::path& program, const std::wstring& commandLine, HANDLE write, ProcessHandles& child,
           int& error) {
    std::lock_guard guard(g_startLock);
    UniqueHandle inheritable;
    if (!DuplicateHandle(GetCurrentProcess(), write, GetCurrentProcess(), inheritable.put(), 0, TRUE,
                         DUPLICATE_SAME_ACCESS)) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const UniqueHandle nullInput(CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!nullInput) {
        error = static_cast<int>(GetLastError());
        KVLOG(L"the null device cannot be opened, error %d", error);
        return false;
    }
    STARTUPINFOW si{};
    GetStartupInfoW(&si);
    si.cb = sizeof si;
    si.hStdInput = nullInput.get();
    si.hStdOutput = inheritable.get();
    si.hStdError = inheritable.get();
    si.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    si.lpReserved = nullptr;
    si.lpDesktop = nullptr;
    si.lpTitle = nullptr;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
        error = static_cast<int>(GetLastError());
        return false;
    }
    child = ProcessHandles(pi);
    return true;
}

} // namespace

ArchiverRun runArchiverProcess(const std::filesystem::path& program, const std::wstring& commandLine,
                               const std::function<void(std::string_view)>& onOutput,
                               std::chrono::milliseconds idleTimeout) {
    ArchiverRun run;
    UniqueHandle read, write;
    if (!CreatePipe(read.put(), write.put(), nullptr, 0) || !read || !write) {
        run.error = static_cast<int>(GetLastError());
        return run;
    }
    run.pipeCreated = true;
    ProcessHandles child;
    run.started = start(program, commandLine, write.get(), child, run.error);
    write.reset(); // the archiver holds the only write end now: its exit breaks the pipe
    if (!run.started) return run;
    std::atomic<ULONGLONG> lastOutput{GetTickCount64()};
    std::atomic<bool> timedOut{false};
    std::thread watcher([&] {
        const auto limit = static_cast<ULONGLONG>(idleTimeout.count());
        while (WaitForSingleObject(child.process.get(), 50) == WAIT_TIMEOUT) {
            if (GetTickCount64() - lastOutput.load() < limit) continue;
            timedOut = true;
            if (!TerminateProcess(child.process.get(), 1))
                KVLOG(L"the silent archiver cannot be stopped, error %d", static_cast<int>(GetLastError()));
            WaitForSingleObject(child.process.get(), INFINITE);
        }
    });
    char chunk[1024];
    DWORD got = 0;
    while (ReadFile(read.get(), chunk, sizeof chunk, &got, nullptr)) {
        lastOutput = GetTickCount64();
        if (got > 0 && onOutput) onOutput(std::string_view(chunk, got));
    }
    run.error = static_cast<int>(GetLastError());
    WaitForSingleObject(child.process.get(), INFINITE);
    watcher.join();
    run.timedOut = timedOut;
    DWORD code = 0;
    if (GetExitCodeProcess(child.process.get(), &code)) run.exitCode = static_cast<int>(code);
    return run;
}

} // namespace platform
