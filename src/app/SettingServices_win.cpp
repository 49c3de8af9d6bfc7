#include "app/SettingServices_win.h"

#include <memory>
#include <thread>

#include "app/AppContext_win.h"
#include "core/dispatch/Dispatcher.h"
#include "core/log/Log.h"
#include "core/platform/DeviceNames.h"
#include "platform/win32/model/RegKeyEx_win.h"

namespace app {

common::SettingServices desktopSettingServices() {
    common::SettingServices s;
    s.setAutoRun = [](const std::wstring& value) {
        utility::RegKeyEx key;
        if (key.RegRegCreate(HKEY_CURRENT_USER, kRunKey, KEY_SET_VALUE) != ERROR_SUCCESS) return;
        if (key.RegWrite(kRunValueName, value) == ERROR_SUCCESS)
            KVLOG_AS("common::PlayerSettingWindow::saveSettings", L"auto run: %s", value);
    };
    // The notification window belongs to another program of the suite and may be absent: nothing to do then.
    s.notifySettingsChanged = [](std::int32_t id) {
        if (!desktop().postToWindowClass(kSuiteNotifyClass, kMsgInstanceChanged, static_cast<std::uint32_t>(id), 0))
            KVLOG_AS("common::PlayerSettingWindow::saveSettings", L"no %s for %d", std::wstring(kSuiteNotifyClass),
                     static_cast<int>(id));
    };
    s.listDevices = [](common::OwnerKey owner, std::function<void(platform::DeviceNames)> done) {
        std::thread([owner, done = std::move(done)] {
            auto devices = std::make_shared<platform::DeviceNames>(platform::deviceNames());
            common::dispatch::post(owner, new common::FunctionRunable([done, devices] { done(*devices); }));
        }).detach(); // nothing to join: the result is dropped when the dialog is gone, and the lists end soon
    };
    return s;
}

} // namespace app
