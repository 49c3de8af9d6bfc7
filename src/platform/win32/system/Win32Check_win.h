#pragma once
// One place that checks Win32 calls whose failure matters: logs the call, GetLastError and the caller.
//
//   if (!KV_WIN32_CHECK(SetTimer(hwnd, id, ms, nullptr))) return false;

#include <string_view>

#include "core/log/Log.h"

namespace platform::win32 {

// Returns `ok`; when false, logs "<call> failed, error <n>" under the caller's function name and line.
bool checkWin32(bool ok, std::string_view function, int line, const char* call);

} // namespace platform::win32

#define KV_WIN32_CHECK(expr) ::platform::win32::checkWin32(!!(expr), KV_FUNCTION_NAME, __LINE__, #expr)
