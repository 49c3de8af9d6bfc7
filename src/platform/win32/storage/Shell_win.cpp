#include "platform/win32/storage/Shell_win.h"

#include <shellapi.h>

#include "core/log/Log.h"
#include "core/storage/LaunchText.h"
#include "platform/win32/system/Owned_win.h"

namespace common {

bool shell(const std::wstring& file, const std::wstring& parameters) {
    KVLOG(L"shell filename = [%s], param = [%s], runas = %d, show = %d", file, parameters, 0, 1);
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result > 32) return true;
    KVLOG(L"shellEx failed!!! lastError = %d", static_cast<int>(GetLastError()));
    return false;
}

HANDLE create(const std::wstring& file, const std::wstring& parameters) {
    KVLOG(L"createProcess filename = [%s], param = [%s]", file, parameters);
    std::wstring commandLine = processCommandLine(file, parameters);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si,
                        &pi)) {
        const DWORD error = GetLastError();
        KVLOG(L"createProcess failed!!! lastError = %d", static_cast<int>(error));
        SetLastError(error);
        return nullptr;
    }
    const platform::win32::UniqueHandle thread(pi.hThread);
    return pi.hProcess;
}

int execute(const std::wstring& file, const std::wstring& parameters) {
    KVLOG(L"execute filename = [%s], param = [%s], timeout = %d", file, parameters,
          static_cast<int>(kExecuteTimeoutMs));
    const platform::win32::UniqueHandle process(create(file, parameters));
    if (!process) {
        KVLOG(L"execute failed!!! last error = %d", static_cast<int>(GetLastError()));
        return 0;
    }
    int result = -1;
    const DWORD wait = WaitForSingleObject(process.get(), kExecuteTimeoutMs);
    if (wait == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        KVLOG(L"execute exitcode = %d lastError = %d", static_cast<int>(code), static_cast<int>(GetLastError()));
        result = static_cast<int>(code);
    } else if (wait == WAIT_TIMEOUT) {
        KVLOG(L"execute timeout!!!");
    } else {
        KVLOG(L"execute wait failed!!!");
    }
    return result;
}

} // namespace common
