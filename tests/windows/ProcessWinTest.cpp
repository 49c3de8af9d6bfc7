// Process starts, waits and kills with real programs (the stand-in: "exit=N" ends at once with N).

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/storage/DesktopUser_win.h"
#include "platform/win32/storage/Process_win.h"
#include "platform/win32/storage/Shell_win.h"
#include "platform/win32/system/Win32Api_win.h"
#include "support/LogCapture.h"
#include "support/StandInHarness_win.h"

using testing_support::LogCapture;
using testing_support::StandInInstall;
using testing_support::standinRoot;
using testing_support::waitUntil;

namespace {

bool processEnded(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return true;
    const bool ended = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

} // namespace

TEST(Process, ExecuteReturnsTheExitCodeZeroWhenNothingStartedAndMinusOneAfterTenSeconds) {
    LogCapture log;
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    const std::wstring exe = install.executable().wstring();
    EXPECT_EQ(common::execute(exe, L"exit=7"), 7);
    EXPECT_EQ(common::execute(exe + L".missing", L""), 0);
    EXPECT_EQ(LogCapture::count("common::execute", L"execute failed!!! last error = 2"), 1);

    install.addInstance(8, L"runs on");
    EXPECT_EQ(common::execute(exe, L"index=8|"), -1) << "still running after 10000 ms";
    EXPECT_EQ(LogCapture::count("common::execute", L"execute timeout!!!"), 1);
    EXPECT_TRUE(install.players().isPlayerRunning(8));
}

TEST(Process, UtilityExecuteIsTrueOnlyForExitCodeZeroInTime) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    const std::wstring exe = install.executable().wstring();
    EXPECT_TRUE(utility::process::execute(exe, L"exit=0", false, 10000));
    EXPECT_FALSE(utility::process::execute(exe, L"exit=3", false, 10000));
    EXPECT_TRUE(utility::process::execute(exe, L"exit=3", false, 0)) << "without a time-out: started is enough";
    EXPECT_FALSE(utility::process::execute(exe + L".missing", L"", false, 0));
}

TEST(Process, KillEndsTheProcessWithTheGivenIdOnly) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(1, L"a");
    install.addInstance(2, L"b");
    install.players().startPlayer(1, L"");
    install.players().startPlayer(2, L"");
    ASSERT_TRUE(install.waitRunning(1));
    ASSERT_TRUE(install.waitRunning(2));
    const DWORD first = install.processOf(1), second = install.processOf(2);

    EXPECT_TRUE(utility::process::kill(first, 0));
    EXPECT_TRUE(processEnded(first));
    EXPECT_TRUE(install.players().isPlayerRunning(2));
    EXPECT_TRUE(utility::process::kill32(second));
    EXPECT_TRUE(processEnded(second));
}

TEST(Process, CommandLinesThatDoNotFitTheBufferAreRefusedAndLogged) {
    LogCapture log;
    EXPECT_EQ(common::runAsDesktopUser(L"C:\\x\\rqplayer.exe", std::wstring(1100, L'a')), -1);
    EXPECT_EQ(LogCapture::count("common::runAsDesktopUser", L"does not fit"), 1);
}

TEST(Process, TheShellStartsAProgramAndRefusesAMissingOne) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(6, L"six");
    EXPECT_TRUE(common::shell(install.executable().wstring(), L"index=6|"));
    EXPECT_TRUE(install.waitRunning(6));
    EXPECT_FALSE(common::shell(install.executable().wstring() + L".missing", L""));
}

// Wine runs its desktop shell from system32, not from the Windows folder, so the token search never matches
// there: every start takes the shell fallback, which is what a machine with a replacement shell sees.
TEST(Process, WithoutExplorerInTheWindowsFolderTheEmulatorStartsThroughTheShell) {
    LogCapture log;
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(1, L"a");
    install.addInstance(2, L"b");
    install.players().startPlayer(1, L""); // a desktop program: Wine then runs its explorer.exe
    ASSERT_TRUE(install.waitRunning(1));
    EXPECT_NE(platform::win32::api::createProcessWithTokenW(), nullptr) << "resolved at run time";
    HANDLE token = nullptr;
    EXPECT_EQ(common::findExplorerToken(&token), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(token, nullptr);

    LogCapture::clear();
    install.players().startPlayer(2, L"");
    ASSERT_TRUE(install.waitRunning(2));
    EXPECT_EQ(LogCapture::countExact("common::Players::startPlayer", L"run player with no Admin error"), 1);
    EXPECT_EQ(LogCapture::count("common::shell", L"param = [index=2|]"), 1);
}

TEST(Process, ShellExBringsTheNewWindowForwardAndWithATimeOutWantsExitCodeZero) {
    LogCapture log;
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(9, L"nine");
    const std::wstring exe = install.executable().wstring();
    DWORD error = 0;
    EXPECT_FALSE(utility::process::shellEx(exe, L"index=9|", false, true, 500, &error)) << "it keeps running";
    EXPECT_EQ(LogCapture::count("utility::process::shellEx", L"shellEx timeout!!!"), 1);
    EXPECT_GE(LogCapture::count("utility::process::shellEx", L"nt in " + std::to_wstring(install.processOf(9))), 1)
        << "the new process is looked at by its id";
    EXPECT_EQ(GetForegroundWindow(), reinterpret_cast<HWND>(install.players().findPlayerWindow(9)));
    EXPECT_TRUE(utility::process::shellEx(exe, L"exit=0", false, false, 10000, &error));
    EXPECT_FALSE(utility::process::shellEx(exe + L".missing", L"", false, true, 0, &error));
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}
