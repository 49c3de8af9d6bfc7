#include "support/WinProcess_win.h"

#include <algorithm>
#include <chrono>

namespace testing_support {

std::filesystem::path windowsPathOf(const std::string& hostPath) {
    if (!hostPath.empty() && hostPath[0] == '/') return std::filesystem::path("Z:" + hostPath).make_preferred();
    return std::filesystem::path(hostPath).make_preferred();
}

std::filesystem::path thisProgram() {
    wchar_t path[MAX_PATH * 4];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return std::filesystem::path(std::wstring(path, n));
}

ChildProcess::~ChildProcess() {
    if (!m_info.hProcess) return;
    if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_info.hProcess, 99);
        WaitForSingleObject(m_info.hProcess, 5000);
    }
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool ChildProcess::start(const std::filesystem::path& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          exe.parent_path().c_str(), &si, &m_info) != 0;
}

namespace {
struct WindowSearch {
    DWORD pid;
    const wchar_t* className;
    HWND found;
};
BOOL CALLBACK matchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t cls[256] = {};
    GetClassNameW(window, cls, 256);
    if (pid == search->pid && wcscmp(cls, search->className) == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND ChildProcess::waitForWindow(const wchar_t* className, std::chrono::milliseconds timeout) const {
    const auto limit = std::chrono::steady_clock::now() + timeout;
    do {
        WindowSearch search{m_info.dwProcessId, className, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        if (WaitForSingleObject(m_info.hProcess, 20) == WAIT_OBJECT_0) return nullptr; // it ended instead
    } while (std::chrono::steady_clock::now() < limit);
    return nullptr;
}

DWORD ChildProcess::waitForExit(std::chrono::milliseconds timeout) const {
    if (WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

CapturedRun runCaptured(const std::filesystem::path& exe, const std::wstring& arguments,
                        std::chrono::milliseconds timeout) {
    CapturedRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = si.hStdError = writeEnd;
    std::wstring commandLine = L"\"" + exe.wstring() + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    const bool started = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &si, &info) != 0;
    CloseHandle(writeEnd); // only the child holds the write end now
    if (started) {
        // The output is read until the child has ended and the pipe holds nothing more. The pipe's end is not
        // waited for: another process (one the child started, a console host, a child the test started at the
        // same time) may hold a copy of its write end for longer.
        const auto drain = [&] {
            DWORD available = 0;
            while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
                char buffer[4096];
                DWORD got = 0;
                if (!ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr) || got == 0)
                    return;
                run.output.append(buffer, got);
            }
        };
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (bool ended = false; !ended;) {
            ended = WaitForSingleObject(info.hProcess, 20) == WAIT_OBJECT_0; // the pipe is drained meanwhile
            if (!ended && std::chrono::steady_clock::now() >= deadline) {
                TerminateProcess(info.hProcess, STILL_ACTIVE);
                WaitForSingleObject(info.hProcess, 5000);
                ended = true;
            }
            drain();
        }
        GetExitCodeProcess(info.hProcess, &run.exitCode);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    CloseHandle(readEnd);
    return run;
}

WinTempDir::WinTempDir() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    m_path = std::filesystem::path(temp) /
             (L"kvtest-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64()));
    std::filesystem::create_directories(m_path);
}

WinTempDir::~WinTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

} // namespace testing_support
