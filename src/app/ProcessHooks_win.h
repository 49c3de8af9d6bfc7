#pragma once
// Start-up's optional hooks into the system: the crash reporter library, the private font of the current
// language, and the message filter that lets instances of lower integrity reach the manager's windows.
// Each is skipped when the system (or the program folder) does not offer it.

#include <windows.h>

#include <filesystem>
#include <string_view>

namespace app {

// Loads "crashreport.dll" from the program folder and registers `onCrash`; the library stays loaded.
void registerCrashReporter(const std::filesystem::path& programFolder, void (*onCrash)());

// Adds "fonts\<file of the face>" privately to this process; returns the path to remove later.
std::filesystem::path addPrivateFont(const std::filesystem::path& programFolder, std::wstring_view faceName);
void removePrivateFont(const std::filesystem::path& fontFile);

// ChangeWindowMessageFilter "add" for the data-copy, first user and instance IPC messages.
void allowMessagesFromLowerIntegrity();

} // namespace app
