// kvmctl.exe: the scripting console. It opens the same installation the manager opens (discovery, storage
// objects, language, groups) and runs one command over the same model, on an event loop of its own standing
// for the manager's user-interface thread. It never takes the manager's single-instance guard and never
// touches the first-run markers, so it runs beside an open manager; it logs to "log\kvmctl.log".

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/app/StartupRules.h"
#include "core/app/StartupSteps.h"
#include "core/dispatch/Dispatcher.h"
#include "core/dispatch/EventLoop.h"
#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"
#include "core/platform/Os.h"
#include "core/storage/Desktop.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlProgram.h"
#include "kvmctl/CtlSession.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/model/InstallSources_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"

namespace {

// The console's own output handles. Whatever it starts must not hold them: an instance that runs on, or the
// desktop process Wine starts on the first window call (it is handed the standard error), would keep the
// caller's pipe open after the console ended, and a script reading our output would wait for them. So the
// handles are kept here, made non-inheritable, and the process's standard handles point to NUL.
struct Output {
    HANDLE out = nullptr;
    HANDLE error = nullptr;
};

Output takeStandardHandles() {
    Output o{GetStdHandle(STD_OUTPUT_HANDLE), GetStdHandle(STD_ERROR_HANDLE)};
    for (HANDLE handle : {o.out, o.error, GetStdHandle(STD_INPUT_HANDLE)})
        if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    if (nul != INVALID_HANDLE_VALUE)
        for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) SetStdHandle(which, nul);
    return o;
}

void writeTo(HANDLE handle, std::string_view text) {
    DWORD written = 0;
    (void)WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetConsoleMode(handle, &mode) != 0;
}

// A manager that runs reads its lists again; none running is no failure.
void tellManager() {
    utility::WindowIPC manager;
    if (manager.open(std::wstring(app::kSingleInstanceName)) && !manager.postMessage(utility::kMsgReloadList, 0, 0))
        KVLOG(L"the manager could not be told to reload");
}

int runCommand(const ctl::Arguments& args, bool text, const Output& output) {
    const std::filesystem::path programFolder = platform::programFolder();
    common::installLogSink();
    std::error_code ec;
    std::filesystem::create_directories(programFolder / "log", ec);
    (void)common::openLogFile(programFolder / "log" / "kvmctl.log", common::LogFileWriter::Limits{});
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    common::dispatch::install(&dispatcher);
    int exitCode = 0;
    {
        common::PlayerSet players;
        platform::win32::Win32InstallSources sources{programFolder};
        platform::win32::Win32InstanceDesktop desktop;
        platform::win32::Win32WindowSystem windows{programFolder};
        KVMultiModel model{players, sources, desktop, windows};
        common::setDesktop(&desktop);
        std::wstring path32, path64, path9, path3, path14;
        model.getPlayerPath(path32, path64, path9, path3, path14);
        app::initialiseStorage(model, players, programFolder);
        app::selectLanguageAndResources(model, programFolder);
        std::filesystem::create_directories(programFolder / "data", ec);
        model.groups().load();

        const HANDLE errorOut = output.error;
        ctl::ProgressPrinter progress([errorOut](std::string_view t) { writeTo(errorOut, t); }, isConsole(errorOut));
        ctl::Session session{
            model,
            players,
            sources,
            loop,
            [&progress](std::string_view what, std::int32_t id, int percent) { progress.report(what, id, percent); },
            &tellManager};
        const ctl::Reply reply = ctl::runCommand(session, args);
        const ctl::Printed printed = ctl::printReply(reply, text);
        writeTo(output.out, printed.out);
        exitCode = printed.exitCode;
        KVLOG(L"kvmctl %S ends with %d", args.command, exitCode);
        players.stopAllTasks(); // workers end while the log and the dispatcher still exist
        common::setDesktop(nullptr);
    }
    common::dispatch::uninstall();
    common::closeLogFile();
    common::removeLogSink();
    return exitCode;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const Output output = takeStandardHandles();
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) words.push_back(common::text::toUtf8(argv[i]));
    const bool text = ctl::wantsText(words);
    const ctl::ParsedArguments parsed = ctl::parseArguments(words);
    if (const auto answer = ctl::answerWithoutRunning(parsed, text)) {
        writeTo(output.out, answer->out);
        return answer->exitCode;
    }
    // Shortcut resolution during install discovery uses COM.
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    const int exitCode = runCommand(*parsed.arguments, text, output);
    if (com) CoUninitialize();
    return exitCode;
}
