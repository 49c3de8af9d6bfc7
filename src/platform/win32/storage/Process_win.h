#pragma once
// Process helpers: start through the shell (optionally elevated), start hidden or shown and wait with a
// time-out, kill by process id. Processes are only ever acted on by the id given; nothing here looks a
// process up by name.

#include <windows.h>

#include <cstdint>
#include <string>

namespace utility::process {

// Shell start ("runas" when elevation is asked for on Windows 6 and later); brings the new process's first
// visible window to the front (polled up to 5 times, 1 s apart). With a time-out, true only when the process
// ended with 0 in time. `lastError` receives the error of a failure.
[[nodiscard]] bool shellEx(const std::wstring& file, const std::wstring& parameters, bool runAs, bool show, DWORD timeoutMs,
             DWORD* lastError);
// Starts with a new console; without a time-out true once started, else true when it ended with 0 in time.
[[nodiscard]] bool execute(const std::wstring& file, const std::wstring& parameters, bool show, DWORD timeoutMs);
// Starts with a new console, shown or hidden; the process handle (caller closes) or null.
HANDLE create(const std::wstring& file, const std::wstring& parameters, bool show, DWORD* processId);
// TerminateProcess with exit code -1.
[[nodiscard]] bool kill32(DWORD processId);
// "tskill.exe <pid>" (file-system redirection off on 64-bit systems); when tskill is missing, waits
// `waitMs` (10000 ms for INFINITE) and uses kill32.
[[nodiscard]] bool kill(DWORD processId, DWORD waitMs);

// Restores a minimised window and raises it above the others without leaving it topmost.
void bringToFront(HWND window);

} // namespace utility::process
