#include "platform/win32/storage/Process_win.h"

#include <shellapi.h>
#include <versionhelpers.h>

#include "core/log/Log.h"
#include "core/storage/LaunchText.h"
#include "platform/win32/system/Owned_win.h"
#include "platform/win32/system/ProcessWindows_win.h"
#include "platform/win32/system/Win32Api_win.h"
#include "platform/win32/system/Win32Check_win.h"

namespace utility::process {
namespace {

// Logging may touch the last error; the callers read it after us.
struct KeepLastError {
    DWORD error = GetLastError();
    ~KeepLastError() { SetLastError(error); }
};

DWORD processIdOf(HANDLE process) {
    auto query = platform::win32::api::ntQueryInformationProcess();
    if (!query) return GetProcessId(process);
    ULONG_PTR basic[6] = {}; // PROCESS_BASIC_INFORMATION: the process id is the fifth field
    if (query(process, 0, basic, sizeof basic, nullptr) != 0) return 0;
    return static_cast<DWORD>(basic[4]);
}

// After a shell start: the new process's first visible window comes to the front once it appears.
void raiseFirstWindow(HANDLE process) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        Sleep(1000);
        const DWORD processId = processIdOf(process);
        KVLOG_AS("utility::process::shellEx", L"nt in %d", static_cast<int>(processId));
        if (HWND found = platform::win32::findTopWindowOfProcess(processId, IsWindowVisible)) {
            bringToFront(found);
            return;
        }
        KVLOG_AS("utility::process::shellEx", L"not hwnd");
    }
}

bool waitShellProcess(HANDLE process, DWORD timeoutMs, DWORD* lastError) {
    const DWORD wait = WaitForSingleObject(process, timeoutMs);
    if (wait == WAIT_OBJECT_0) {
        DWORD code = 1;
        GetExitCodeProcess(process, &code);
        const DWORD error = GetLastError();
        KVLOG_AS("utility::process::shellEx", L"shellEx exitcode = %d lastError = %d", static_cast<int>(code),
                 static_cast<int>(error));
        if (code == 0) return true;
        if (lastError) *lastError = error;
        return false;
    }
    const DWORD error = GetLastError();
    if (wait == WAIT_TIMEOUT)
        KVLOG_AS("utility::process::shellEx", L"shellEx timeout!!!");
    else
        KVLOG_AS("utility::process::shellEx", L"shellEx failed!!! lastError = %d", static_cast<int>(error));
    if (lastError) *lastError = error;
    return false;
}

class FsRedirectionOff {
public:
    FsRedirectionOff() {
        SYSTEM_INFO info{};
        GetNativeSystemInfo(&info);
        const WORD arch = info.wProcessorArchitecture;
        if (arch != PROCESSOR_ARCHITECTURE_AMD64 && arch != PROCESSOR_ARCHITECTURE_IA64) return;
        if (auto disable = platform::win32::api::wow64DisableWow64FsRedirection()) m_active = disable(&m_old) != 0;
    }
    ~FsRedirectionOff() {
        KeepLastError keep;
        if (!m_active) return;
        if (auto revert = platform::win32::api::wow64RevertWow64FsRedirection()) revert(m_old);
    }
    FsRedirectionOff(const FsRedirectionOff&) = delete;
    FsRedirectionOff& operator=(const FsRedirectionOff&) = delete;

private:
    PVOID m_old = nullptr;
    bool m_active = false;
};

} // namespace

bool shellEx(const std::wstring& file, const std::wstring& parameters, bool runAs, bool show, DWORD timeoutMs,
             DWORD* lastError) {
    KVLOG(L"shellEx filename = [%s], param = [%s], runas = %d, show = %d, timeout = %d", file, parameters, runAs, show,
          static_cast<int>(timeoutMs));
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = runAs && IsWindowsVistaOrGreater() ? L"runas" : nullptr;
    info.lpFile = file.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = show ? SW_SHOWNORMAL : SW_HIDE;
    if (!ShellExecuteExW(&info)) {
        const DWORD error = GetLastError();
        if (lastError) *lastError = error;
        KVLOG(L"shellEx failed!!! lastError = %d", static_cast<int>(error));
        return false;
    }
    if (!info.hProcess) return true; // handed to a running program: nothing to watch
    const platform::win32::UniqueHandle process(info.hProcess);
    raiseFirstWindow(process.get());
    return timeoutMs == 0 || waitShellProcess(process.get(), timeoutMs, lastError);
}

HANDLE create(const std::wstring& file, const std::wstring& parameters, bool show, DWORD* processId) {
    std::wstring commandLine = common::processCommandLine(file, parameters);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = show ? SW_SHOW : SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si,
                        &pi)) {
        KeepLastError keep;
        KVLOG(L"createProcess failed!!! lastError = %d", static_cast<int>(keep.error));
        return nullptr;
    }
    const platform::win32::UniqueHandle thread(pi.hThread);
    if (processId) *processId = pi.dwProcessId;
    return pi.hProcess;
}

bool execute(const std::wstring& file, const std::wstring& parameters, bool show, DWORD timeoutMs) {
    const platform::win32::UniqueHandle process(create(file, parameters, show, nullptr));
    if (!process) {
        KeepLastError keep;
        KVLOG(L"execute failed!!! last error = %d", static_cast<int>(keep.error));
        return false;
    }
    bool ok = true;
    if (timeoutMs != 0) {
        const DWORD wait = WaitForSingleObject(process.get(), timeoutMs);
        KeepLastError keep;
        if (wait == WAIT_OBJECT_0) {
            DWORD code = 1;
            GetExitCodeProcess(process.get(), &code);
            KVLOG(L"execute exitcode = %d lastError = %d", static_cast<int>(code), static_cast<int>(keep.error));
            ok = code == 0;
        } else if (wait == WAIT_TIMEOUT) {
            KVLOG(L"execute timeout!!!");
            ok = false;
        } else {
            KVLOG(L"execute failed!!! lastError = %d", static_cast<int>(keep.error));
            ok = false;
        }
    }
    return ok;
}

bool kill32(DWORD processId) {
    const platform::win32::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId));
    if (!process) {
        KeepLastError keep;
        KVLOG(L"kill32 h is null pid = %d error = %d", static_cast<int>(processId), static_cast<int>(keep.error));
        return false;
    }
    const bool ok = TerminateProcess(process.get(), static_cast<UINT>(-1)) != 0;
    if (!ok) {
        KeepLastError keep;
        KVLOG(L"kill32 progress failed pid = %d lasterror = %d", static_cast<int>(processId),
              static_cast<int>(keep.error));
    }
    return ok;
}

namespace {

// The system's own tskill: a bare name would be looked up in the program's and the current folder first.
std::wstring systemTskill() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (!KV_WIN32_CHECK(length > 0 && length < MAX_PATH)) return {};
    return std::wstring(folder, length) + L"\\tskill.exe";
}

} // namespace

bool kill(DWORD processId, DWORD waitMs) {
    FsRedirectionOff redirectionOff;
    const std::wstring tskill = systemTskill();
    if (!tskill.empty() && execute(tskill, std::to_wstring(processId), false, waitMs)) return true;
    const DWORD error = tskill.empty() ? ERROR_FILE_NOT_FOUND : GetLastError();
    KVLOG(L"tskill.exe error lastError = %d", static_cast<int>(error));
    if (error != ERROR_FILE_NOT_FOUND) return false;
    Sleep(waitMs == INFINITE ? 10000 : waitMs);
    return kill32(processId);
}

void bringToFront(HWND window) {
    if (IsIconic(window)) PostMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0); // never wait on another process
    if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) {
        ShowWindow(window, SW_SHOW);
        return;
    }
    // Another process's window: the placements are posted to its thread, so a hung program cannot hold us.
    constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_ASYNCWINDOWPOS;
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, kKeepPlace);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, kKeepPlace);
}

} // namespace utility::process
