#pragma once
// The simple process starts the storage operations use: through the shell's "open" verb, hidden in a new
// console, and hidden with a 10-second wait for the exit code.

#include <windows.h>

#include <string>

namespace common {

inline constexpr DWORD kExecuteTimeoutMs = 10000;

// Shell "open", shown; false (logged) when the shell refuses.
[[nodiscard]] bool shell(const std::wstring& file, const std::wstring& parameters);
// Hidden, in a new console, no inherited handles; the process handle (caller closes) or null.
HANDLE create(const std::wstring& file, const std::wstring& parameters);
// `create` and wait up to 10000 ms: the exit code; 0 when it did not start, -1 on a time-out or a failed wait.
int execute(const std::wstring& file, const std::wstring& parameters);

} // namespace common
