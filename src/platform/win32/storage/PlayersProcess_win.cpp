// The storage object's process operations on Windows: starting an instance's emulator, finding its main
// window, asking it to close, and the running test by its mutex. Stopping is a request over window IPC,
// never a kill; a close request that hangs is the IPC watchdog's business.

#include <windows.h>

#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"
#include "core/storage/LaunchText.h"
#include "core/storage/Players.h"
#include "platform/win32/storage/DesktopUser_win.h"
#include "platform/win32/system/NamedMutex_win.h"
#include "platform/win32/storage/Shell_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"

namespace common {

void Players::startPlayer(int index, std::wstring_view extraParameters) const {
    const std::wstring executable = playerExecutable().wstring();
    KVLOG_AS("common::Players::startPlayer", L"player:%d param:%s", index, extraParameters);
    if (index == -1) return;
    const std::wstring parameters = playerParameterText(index, extraParameters);
    KVLOG_AS("common::Players::startPlayer", L"run player with no Admin");
    if (runAsDesktopUser(executable, parameters) != 0) {
        KVLOG_AS("common::Players::startPlayer", L"run player with no Admin error");
        shell(executable, parameters);
    }
}

platform::WindowHandle Players::findPlayerWindow(int index) const {
    return utility::findInstanceMainWindow(windowClassName(index));
}

bool Players::stopPlayer(std::int32_t /*id*/, int index) const {
    utility::WindowIPC endpoint;
    if (!endpoint.open(windowClassName(index))) return true; // nothing runs
    if (m_product == KV_PRODUCT_51) {
        endpoint.postMessage(utility::kMsgQuit, static_cast<WPARAM>(index), 0);
        return true;
    }
    endpoint.postData(index, utility::kMsgQuit, std::to_wstring(index));
    endpoint.postMessage(utility::kMsgQuit, 0, 0);
    return true;
}

bool Players::isPlayerRunning(int index) const {
    return platform::win32::namedMutexExists(mutexName(index));
}

} // namespace common
