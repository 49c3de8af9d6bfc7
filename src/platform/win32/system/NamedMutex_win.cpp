#include "platform/win32/system/NamedMutex_win.h"

#include <windows.h>

#include "platform/win32/system/Owned_win.h"
namespace platform::win32 {

bool namedMutexExists(const std::wstring& name) {
    const UniqueHandle mutex(OpenMutexW(0, FALSE, name.c_str()));
    return mutex || GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace platform::win32
