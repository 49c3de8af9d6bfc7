// The storage object's process operations: starting an instance's emulator, finding its main window, asking
// it to close, and the running test by its mutex, all through the installed desktop. Stopping is a request
// over window IPC, never a kill; a close request that hangs is the IPC watchdog's business.

#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"
#include "core/storage/Desktop.h"
#include "core/storage/LaunchText.h"
#include "core/storage/Players.h"

namespace common {

void Players::startPlayer(int index, std::wstring_view extraParameters) const {
    const std::wstring executable = playerExecutable().wstring();
    KVLOG_AS("common::Players::startPlayer", L"player:%d param:%s", index, extraParameters);
    if (index == -1) return;
    platform::InstanceDesktop* host = desktop();
    if (!host) {
        KVLOG_AS("common::Players::startPlayer", L"no desktop: player %d not started", index);
        return;
    }
    const std::wstring parameters = playerParameterText(index, extraParameters);
    KVLOG_AS("common::Players::startPlayer", L"run player with no Admin");
    if (host->startAsDesktopUser(executable, parameters) != 0) {
        KVLOG_AS("common::Players::startPlayer", L"run player with no Admin error");
        host->shellOpen(executable, parameters);
    }
}

platform::WindowHandle Players::findPlayerWindow(int index) const {
    platform::InstanceDesktop* host = desktop();
    if (!host) return 0;
    const platform::WindowHandle endpoint = host->findWindow(windowClassName(index));
    if (endpoint == 0) return 0;
    return host->mainFrameOfProcess(host->windowProcessId(endpoint));
}

bool Players::stopPlayer(std::int32_t /*id*/, int index) const {
    platform::InstanceDesktop* host = desktop();
    if (!host) return true;
    const std::wstring endpointClass = windowClassName(index);
    // No endpoint window means nothing runs: there is nothing to stop, so a post that finds none is no failure.
    if (m_product == KV_PRODUCT_51) {
        (void)host->postToWindowClass(endpointClass, utility::kMsgQuit, static_cast<std::uintptr_t>(index), 0);
        return true;
    }
    if (!host->postData(endpointClass, index, utility::kMsgQuit, std::to_wstring(index))) return true;
    (void)host->postToWindowClass(endpointClass, utility::kMsgQuit, 0, 0);
    return true;
}

bool Players::isPlayerRunning(int index) const {
    platform::InstanceDesktop* host = desktop();
    return host && host->mutexExists(mutexName(index));
}

} // namespace common
