#include "app/ProcessHooks_win.h"

#include "core/app/StartupRules.h"
#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"

namespace app {
namespace {

template <class Fn>
Fn lookUp(HMODULE module, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

using InitBugReportFn = int (*)(const wchar_t* module, const wchar_t* version, const wchar_t* application);
using SetShowReportUIFn = void (*)(int show);
using SetRestartExePathFn = void (*)(const wchar_t* path);
using SetCrashCallbackFn = void (*)(void (*)());
using ChangeWindowMessageFilterFn = BOOL(WINAPI*)(UINT, DWORD);
constexpr DWORD kFilterAdd = 1; // MSGFLT_ADD

} // namespace

void registerCrashReporter(const std::filesystem::path& programFolder, void (*onCrash)()) {
    HMODULE library = LoadLibraryW((programFolder / L"crashreport.dll").c_str());
    if (!library) return; // runs without a crash reporter
    const auto init = lookUp<InitBugReportFn>(library, "InitBugReport");
    if (!init) return;
    init(L"multis", std::wstring(kManagerVersion).c_str(), L"rqmultiplayerex");
    const auto showUi = lookUp<SetShowReportUIFn>(library, "SetShowReportUI");
    if (!showUi) return;
    showUi(0);
    const auto restartPath = lookUp<SetRestartExePathFn>(library, "SetRestartExePath");
    if (!restartPath) return;
    const auto callback = lookUp<SetCrashCallbackFn>(library, "SetCrashCallback");
    if (!callback) return;
    callback(onCrash);
    wchar_t program[MAX_PATH + 1] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    restartPath(program);
}

std::filesystem::path addPrivateFont(const std::filesystem::path& programFolder, std::wstring_view faceName) {
    const PrivateFont font = privateFontFor(faceName);
    const std::filesystem::path file = programFolder / L"fonts" / std::wstring(font.file);
    const int added = AddFontResourceExW(file.c_str(), FR_PRIVATE, nullptr);
    KVLOG_AS("KVMultiImpl::addFontResource", font.logFormat, added, static_cast<int>(GetLastError()));
    return file;
}

void removePrivateFont(const std::filesystem::path& fontFile) {
    if (!fontFile.empty()) RemoveFontResourceExW(fontFile.c_str(), FR_PRIVATE, nullptr);
}

void allowMessagesFromLowerIntegrity() {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto filter = user32 ? lookUp<ChangeWindowMessageFilterFn>(user32, "ChangeWindowMessageFilter") : nullptr;
    if (!filter) return;
    for (const UINT message :
         {utility::kMsgCopyData, utility::kMsgEndpointFloor, utility::kMsgPlayerWantMax, utility::kMsgPlayerWantRestore,
          utility::kMsgPlayerResolution, utility::kMsgPlayerRotated, utility::kMsgRaiseFrame,
          utility::kMsgPlayerWantFullScreen, utility::kMsgPlayerExitFullScreen, utility::kMsgShowAll})
        filter(message, kFilterAdd);
}

} // namespace app
