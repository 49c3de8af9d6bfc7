#include "platform/win32/storage/PlayerHost_win.h"

#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/storage/Shell_win.h"
#include "platform/win32/system/NamedMutex_win.h"

namespace platform::win32 {

int Win32PlayerHost::execute(const std::wstring& file, const std::wstring& parameters) {
    return common::execute(file, parameters);
}

bool Win32PlayerHost::postData(const std::wstring& windowClass, int key, std::uint32_t message,
                               std::wstring_view text) {
    utility::WindowIPC endpoint;
    if (!endpoint.open(windowClass)) return false;
    endpoint.postData(key, message, text);
    return true;
}

bool Win32PlayerHost::isRunning(const std::wstring& mutexName) {
    return namedMutexExists(mutexName);
}

} // namespace platform::win32
