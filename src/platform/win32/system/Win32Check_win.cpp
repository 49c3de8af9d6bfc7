#include "platform/win32/system/Win32Check_win.h"

#include <windows.h>

namespace platform::win32 {

bool checkWin32(bool ok, std::string_view function, int line, const char* call) {
    if (!ok) {
        const DWORD error = GetLastError();
        common::writeLog(function, line, L"%S failed, error %u", call, static_cast<unsigned>(error));
        SetLastError(error); // logging must not change what the caller reads next
    }
    return ok;
}

} // namespace platform::win32
