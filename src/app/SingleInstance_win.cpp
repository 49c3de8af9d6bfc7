#include "app/SingleInstance_win.h"

#include <string>

#include "core/app/StartupRules.h"
#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"
#include "platform/win32/ipc/WindowIPC_win.h"

namespace app {

platform::win32::UniqueHandle takeSingleInstanceGuard() {
    const std::wstring name(kSingleInstanceName);
    platform::win32::UniqueHandle guard(CreateMutexW(nullptr, TRUE, name.c_str()));
    if (guard && GetLastError() == ERROR_ALREADY_EXISTS) guard.reset();
    return guard;
}

void askRunningManagerToShow() {
    utility::WindowIPC manager;
    if (manager.open(std::wstring(kSingleInstanceName)) && !manager.postMessage(utility::kMsgActivateManager, 0, 0))
        KVLOG(L"the running manager was not asked to show itself: its endpoint took no message");
}

} // namespace app
