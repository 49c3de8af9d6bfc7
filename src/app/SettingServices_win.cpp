#include "app/SettingServices_win.h"

#include "app/AppContext_win.h"
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
    s.deviceNames = platform::deviceNames;
    return s;
}

} // namespace app
