#include "app/SingleInstance_win.h"

#include <string>

#include "core/app/StartupRules.h"
#include "core/ipc/IpcMessages.h"
#include "platform/win32/ipc/WindowIPC_win.h"

namespace app {

HANDLE takeSingleInstanceGuard() {
    const std::wstring name(kSingleInstanceName);
    HANDLE guard = CreateMutexW(nullptr, TRUE, name.c_str());
    if (guard && GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(guard);
        return nullptr;
    }
    return guard;
}

void askRunningManagerToShow() {
    utility::WindowIPC manager;
    if (manager.open(std::wstring(kSingleInstanceName))) manager.postMessage(utility::kMsgActivateManager, 0, 0);
}

} // namespace app
