#include "platform/win32/system/NamedMutex_win.h"

#include <windows.h>

namespace platform::win32 {

bool namedMutexExists(const std::wstring& name) {
    HANDLE mutex = OpenMutexW(0, FALSE, name.c_str());
    if (mutex) {
        CloseHandle(mutex);
        return true;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace platform::win32
