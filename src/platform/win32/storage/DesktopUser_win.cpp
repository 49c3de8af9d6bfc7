#include "platform/win32/storage/DesktopUser_win.h"

#include <psapi.h>
#include <tlhelp32.h>

#include <cwchar>

#include "core/log/Log.h"
#include "core/storage/LaunchText.h"
#include "platform/win32/system/Owned_win.h"
#include "platform/win32/system/Win32Api_win.h"
#include "platform/win32/system/Win32Check_win.h"

namespace common {
namespace {

using platform::win32::UniqueHandle;

std::wstring explorerPath() {
    wchar_t folder[MAX_PATH] = {};
    GetWindowsDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\explorer.exe";
}

// The full path of the process's first module, or the snapshot's executable name when it cannot be read.
std::wstring executableOf(const PROCESSENTRY32W& entry) {
    wchar_t path[MAX_PATH] = {};
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID));
    if (process) GetModuleFileNameExW(process.get(), nullptr, path, MAX_PATH);
    return path[0] ? std::wstring(path) : std::wstring(entry.szExeFile);
}

DWORD duplicatePrimaryToken(HANDLE process, HANDLE* token) {
    UniqueHandle own;
    if (!KV_WIN32_CHECK(OpenProcessToken(process, TOKEN_DUPLICATE, own.put()))) return GetLastError();
    if (!KV_WIN32_CHECK(
            DuplicateTokenEx(own.get(), TOKEN_ALL_ACCESS, nullptr, SecurityImpersonation, TokenPrimary, token)))
        return GetLastError();
    return 0;
}

} // namespace

DWORD findExplorerToken(HANDLE* token) {
    const std::wstring target = explorerPath();
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!KV_WIN32_CHECK(snapshot)) return GetLastError();
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    if (!KV_WIN32_CHECK(Process32FirstW(snapshot.get(), &entry))) return GetLastError();
    do {
        UniqueHandle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, entry.th32ProcessID));
        if (!process) continue;
        const std::wstring path = executableOf(entry);
        // Exact, case-sensitive comparison: "Explorer.EXE" from the snapshot is not taken.
        if (path == target || path == L"explorer.exe") return duplicatePrimaryToken(process.get(), token);
    } while (Process32NextW(snapshot.get(), &entry));
    return ERROR_FILE_NOT_FOUND;
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

    UniqueHandle token;
    if (const DWORD error = findExplorerToken(token.put()); error != 0 || !token) {
        KVLOG(L"no desktop shell token, error %d", static_cast<int>(error));
        return -1;
    }
    auto createWithToken = platform::win32::api::createProcessWithTokenW();
    if (!createWithToken) {
        KVLOG(L"CreateProcessWithTokenW is not available");
        return -1;
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION pi{};
    if (!KV_WIN32_CHECK(
            createWithToken(token.get(), LOGON_WITH_PROFILE, nullptr, commandLine, 0, nullptr, nullptr, &si, &pi)))
        return -1;
    UniqueHandle process(pi.hProcess);
    UniqueHandle thread(pi.hThread);
    return 0;
}

} // namespace common
