// crashreport.dll for the tests: the crash reporter's four entry points, and a crash on request. A test sets
// the event "kvmulti-test-crash-<process id>"; a thread of the manager then calls the crash callback the
// manager registered, as the real reporter does on a crash, and ends the process with code 3.

#include <windows.h>

#include <string>

namespace {

void (*g_onCrash)() = nullptr;

DWORD WINAPI waitForCrash(void* event) {
    WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
    if (g_onCrash) g_onCrash();
    TerminateProcess(GetCurrentProcess(), 3);
    return 0;
}

} // namespace

extern "C" __declspec(dllexport) int InitBugReport(const wchar_t*, const wchar_t*, const wchar_t*) {
    return 1;
}

extern "C" __declspec(dllexport) void SetShowReportUI(int) {}

extern "C" __declspec(dllexport) void SetRestartExePath(const wchar_t*) {}

extern "C" __declspec(dllexport) void SetCrashCallback(void (*onCrash)()) {
    g_onCrash = onCrash;
    const std::wstring name = L"kvmulti-test-crash-" + std::to_wstring(GetCurrentProcessId());
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    if (event) CloseHandle(CreateThread(nullptr, 0, &waitForCrash, event, 0, nullptr));
}
