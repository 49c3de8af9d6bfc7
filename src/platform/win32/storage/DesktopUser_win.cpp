#include "platform/win32/storage/DesktopUser_win.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cwchar>

#include "core/log/Log.h"
#include "core/storage/LaunchText.h"
#include "platform/win32/system/Win32Api_win.h"

namespace common {
namespace {

std::wstring explorerPath() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\explorer.exe";
}

// The full path of the process's first module, or the snapshot's executable name when it cannot be read.
std::wstring executableOf(const PROCESSENTRY32W& entry) {
    wchar_t path[MAX_PATH] = {};
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
    if (process) {
        GetModuleFileNameExW(process, nullptr, path, MAX_PATH);
        CloseHandle(process);
    }
    return path[0] ? std::wstring(path) : std::wstring(entry.szExeFile);
}

DWORD duplicatePrimaryToken(HANDLE process, HANDLE* token) {
    HANDLE own = nullptr;
    if (!OpenProcessToken(process, TOKEN_DUPLICATE, &own)) return GetLastError();
    const BOOL ok = DuplicateTokenEx(own, TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, token);
    const DWORD error = ok ? 0 : GetLastError();
    CloseHandle(own);
    return error;
}

} // namespace

DWORD findExplorerToken(HANDLE* token) {
    const std::wstring target = explorerPath();
    DWORD result = ERROR_FILE_NOT_FOUND;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return GetLastError();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!Process32FirstW(snapshot, &entry)) {
        result = GetLastError();
        CloseHandle(snapshot);
        return result;
    }
    do {
        HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID);
        if (!process) continue;
        const std::wstring path = executableOf(entry);
        // Exact, case-sensitive comparison: "Explorer.EXE" from the snapshot is not taken.
        if (path == target || path == L"explorer.exe") {
            result = duplicatePrimaryToken(process, token);
            CloseHandle(process);
            break;
        }
        CloseHandle(process);
    } while (Process32NextW(snapshot, &entry));
    CloseHandle(snapshot);
    return result;
}

int runAsDesktopUser(const std::wstring& executable, const std::wstring& parameters) {
    const std::wstring line = L"\"" + executable + L"\" " + parameters;
    if (!fitsCommandLineBuffer(line)) {
        KVLOG(L"command line of %d characters does not fit %d, not started", static_cast<int>(line.size()),
              static_cast<int>(kCommandLineChars));
        return -1;
    }
    wchar_t commandLine[kCommandLineChars] = {};
    wmemcpy(commandLine, line.c_str(), line.size());

    HANDLE token = nullptr;
    if (findExplorerToken(&token) != 0 || !token) return -1;
    auto createWithToken = platform::win32::api::createProcessWithTokenW();
    if (!createWithToken) {
        CloseHandle(token);
        return -1;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION pi{};
    const BOOL ok = createWithToken(token, LOGON_WITH_PROFILE, nullptr, commandLine, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(token); // not needed once the process exists
    if (!ok) return -1;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return 0;
}

} // namespace common
