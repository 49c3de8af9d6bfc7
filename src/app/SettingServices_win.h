#pragma once
// What the instance settings dialog asks of the desktop: the auto-start entry in the current user's Run key,
// the suite's notification window hearing that an instance's settings changed, and the machine's devices.

#include "ui/settings/PlayerSettingWindow.h"

namespace app {

inline constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const wchar_t* kRunValueName = L"KVPlayer14"; // one name for every product line
inline constexpr const wchar_t* kSuiteNotifyClass = L"vantor_fb_msg_wnd_class_ui";
inline constexpr unsigned kMsgInstanceChanged = 1015;

// Every service but the window hosting and the skin reading, which the dialog's host gives.
common::SettingServices desktopSettingServices();

} // namespace app
