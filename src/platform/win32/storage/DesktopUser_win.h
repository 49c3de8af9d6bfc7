#pragma once
// Starting a program as the ordinary desktop user even when we run elevated: with a primary token
// duplicated from the desktop shell (explorer.exe).

#include <windows.h>

#include <string>

namespace common {

// 0 and a primary token (caller closes) from the first process whose executable is the Windows folder's
// "explorer.exe" (or whose name is exactly "explorer.exe"); otherwise an error code (2 when none runs).
DWORD findExplorerToken(HANDLE* token);
// 0 when the program was started with the shell's token, -1 otherwise (no token, no
// CreateProcessWithTokenW, a command line longer than 1023 characters, or a failed start).
int runAsDesktopUser(const std::wstring& executable, const std::wstring& parameters);

} // namespace common
