#pragma once
// Starting and watching a real Windows program from a test: start it, poll for its windows, end it.

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace testing_support {

// A path given by CMake on the Linux side ("/work/...") as Wine sees it (drive Z: is the root).
std::filesystem::path windowsPathOf(const std::string& hostPath);
// The running test program's own file.
std::filesystem::path thisProgram();

class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess(); // a process still running at the end of a test is terminated
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool start(const std::filesystem::path& exe, const std::wstring& arguments = L"");
    DWORD id() const { return m_info.dwProcessId; }
    HANDLE handle() const { return m_info.hProcess; }
    // The first visible top-level window of this process with the class, polled until `timeout`.
    HWND waitForWindow(const wchar_t* className, std::chrono::milliseconds timeout) const;
    // Exit code, or STILL_ACTIVE when it did not end within `timeout`.
    DWORD waitForExit(std::chrono::milliseconds timeout) const;

private:
    PROCESS_INFORMATION m_info{};
};

// Runs a console program to its end (at most `timeout`) and returns its exit code and what it wrote to its
// standard output and error; STILL_ACTIVE (the program then terminated) when it did not end in time.
struct CapturedRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string output;
};
CapturedRun runCaptured(const std::filesystem::path& exe, const std::wstring& arguments,
                        std::chrono::milliseconds timeout = std::chrono::seconds(60));

// A fresh folder below the Windows temp folder, removed at the end.
class WinTempDir {
public:
    WinTempDir();
    ~WinTempDir();
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace testing_support
