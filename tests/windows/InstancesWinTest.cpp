// Starting, finding, renaming, stopping and removing real stand-in instances through the storage object and
// the window IPC, as the manager does it. How the stand-in answers the place messages is seen by the
// arrangement test.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/ipc/IpcMessages.h"
#include "core/storage/Desktop.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/model/FileVersion_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"
#include "support/LogCapture.h"
#include "support/StandInHarness_win.h"

using testing_support::className;
using testing_support::StandInInstall;
using testing_support::standinRoot;
using testing_support::waitUntil;
using testing_support::windowText;

namespace {

HWND mainWindow(StandInInstall& install, int index) {
    return reinterpret_cast<HWND>(install.players().findPlayerWindow(index));
}

bool contains(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

} // namespace

TEST(Instances, StartPlayerRunsTheLinesEmulatorWhoseMutexAndWindowsAppear) {
    testing_support::LogCapture log;
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(3, L"Phone Three");
    EXPECT_EQ(platform::win32::fileVersionText(install.executable()), L"14.0.20.0");
    EXPECT_FALSE(install.players().isPlayerRunning(3));

    install.players().startPlayer(3, L"");
    ASSERT_TRUE(install.waitRunning(3));
    EXPECT_FALSE(install.players().isPlayerRunning(4));

    HWND frame = mainWindow(install, 3);
    EXPECT_EQ(className(frame), L"KVPlayerMainFrame");
    EXPECT_TRUE(IsWindowVisible(frame));
    EXPECT_EQ(windowText(frame), L"Phone Three");
    // The stand-in makes its children after the frame, as an emulator does: they are waited for.
    HWND render = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (render = FindWindowExW(frame, nullptr, L"RenderWindow", L"TheRender")) != nullptr; }));
    EXPECT_TRUE(waitUntil([&] { return FindWindowExW(render, nullptr, L"subWin", L"sub") != nullptr; }));

    EXPECT_EQ(testing_support::LogCapture::count("common::Players::startPlayer", L"player:3 param:"), 1);
    EXPECT_EQ(testing_support::LogCapture::countExact("common::Players::startPlayer", L"run player with no Admin"), 1);
}

TEST(Instances, StartingIndexMinusOneOnlyLogs) {
    testing_support::LogCapture log;
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.players().startPlayer(-1, L"");
    EXPECT_EQ(testing_support::LogCapture::count("common::Players::startPlayer", L""), 1);
}

// The stand-in started with "stay=1" records the close requests and stays, so every message shows (that a
// stop really ends an instance is seen by the model and main window tests). A rename sent afterwards on the
// same key comes after any data message of the stop request.
TEST(Instances, StopRequestSendsDataAndAPostButOnLine3OnlyAPostWithTheIndex) {
    StandInInstall line9(standinRoot(), L"9", KV_PRODUCT_9);
    StandInInstall line3(standinRoot(), L"3", KV_PRODUCT_51);
    for (auto* install : {&line9, &line3}) {
        install->addInstance(5, L"five");
        EXPECT_TRUE(install->players().stopPlayer(0, 5)) << "nothing runs: nothing sent, still true";
        install->players().startPlayer(5, L"stay=1");
        ASSERT_TRUE(install->waitRunning(5));
        install->players().stopPlayer(0, 5);
        utility::WindowIPC endpoint;
        ASSERT_TRUE(endpoint.open(install->players().windowClassName(5)));
        endpoint.postData(5, utility::kMsgRename, L"marker");
        ASSERT_TRUE(waitUntil([&] { return contains(install->events(5), "data 14000 marker"); }));
    }
    // A plain post and a data message travel separately; either may be handled first.
    auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_TRUE(waitUntil([&] { return line9.events(5).size() >= 3; }));
    EXPECT_EQ(sorted(line9.events(5)), (std::vector<std::string>{"data 14000 marker", "data 9222 5", "post 9222 0 0"}));
    EXPECT_TRUE(waitUntil([&] { return line3.events(5).size() >= 2; }));
    EXPECT_EQ(sorted(line3.events(5)), (std::vector<std::string>{"data 14000 marker", "post 9222 5 0"}));
}

TEST(Instances, RenamingARunningInstanceStoresTheNameAndRetitlesItsWindow) {
    platform::win32::Win32InstanceDesktop host;
    common::setDesktop(&host);
    StandInInstall install(standinRoot(), L"5", KV_PRODUCT_71_64);
    install.addInstance(26, L"before");
    EXPECT_EQ(install.players().windowClassName(26), L"{20160302-cccc-dddd-ba64-00000000001a}");
    install.players().startPlayer(26, L"");
    ASSERT_TRUE(install.waitRunning(26));
    HWND frame = mainWindow(install, 26);

    install.players().rename(26, 26, L"after\r\n \u00e9\u6f22");
    EXPECT_TRUE(waitUntil([&] { return windowText(frame) == L"after \u00e9\u6f22"; })) << windowText(frame);
    EXPECT_EQ(install.players().displayName(26), L"after \u00e9\u6f22");
    common::setDesktop(nullptr);
}

TEST(Instances, RemoveWithoutTheVmRuntimeLogsTheFailedUnregistrationAndDeletesAnyway) {
    platform::win32::Win32InstanceDesktop host;
    common::setDesktop(&host);
    StandInInstall install(standinRoot(), L"9", KV_PRODUCT_9);
    install.addInstance(4, L"doomed");
    install.players().loadConfig();
    testing_support::LogCapture log;
    install.players().remove(4);
    const auto lines = log.all();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const testing_support::CapturedLine& line) {
        return line.message.rfind(L"createProcess failed!!!", 0) == 0;
    })) << "the missing VBoxManage.exe shows in the log";
    EXPECT_FALSE(std::filesystem::exists(install.players().instanceFolder(4)));
    EXPECT_FALSE(std::filesystem::exists(install.folder() / "vms" / "config" / "vantor4.config"));
    EXPECT_FALSE(install.players().hasIndex(4));
    common::setDesktop(nullptr);
}
