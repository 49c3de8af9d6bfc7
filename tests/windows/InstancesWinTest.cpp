// Starting, finding, renaming, placing and stopping real stand-in instances through the storage object and
// the window IPC, as the manager does it.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "../src/emulator/StandInProtocol.h"
#include "core/ipc/IpcMessages.h"
#include "platform/win32/FileVersion_win.h"
#include "platform/win32/PlayerHost_win.h"
#include "platform/win32/WindowIPC_win.h"
#include "support/LogCapture.h"
#include "support/StandInHarness_win.h"

using namespace std::chrono_literals;
using testing_support::className;
using testing_support::StandInInstall;
using testing_support::standinRoot;
using testing_support::waitUntil;
using testing_support::windowText;

namespace {

HWND mainWindow(StandInInstall& install, int index) {
    return static_cast<HWND>(install.players().findPlayerWindow(index));
}

bool contains(const std::vector<std::string>& lines, const std::string& wanted) {
    return std::find(lines.begin(), lines.end(), wanted) != lines.end();
}

class RecordingHandler : public utility::IWindowIPCHandle {
public:
    int onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) override {
        seen.push_back({message, first, second});
        return 0;
    }
    struct Seen {
        std::uint32_t message;
        std::uintptr_t first;
        std::intptr_t second;
    };
    std::vector<Seen> seen;
};

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
    HWND render = FindWindowExW(frame, nullptr, L"RenderWindow", L"TheRender");
    ASSERT_NE(render, nullptr);
    EXPECT_NE(FindWindowExW(render, nullptr, L"subWin", L"sub"), nullptr);

    EXPECT_EQ(testing_support::LogCapture::count("common::Players::startPlayer", L"player:3 param:"), 1);
    EXPECT_EQ(testing_support::LogCapture::countExact("common::Players::startPlayer", L"run player with no Admin"), 1);
}

TEST(Instances, StartingIndexMinusOneOnlyLogs) {
    testing_support::LogCapture log;
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.players().startPlayer(-1, L"");
    EXPECT_EQ(testing_support::LogCapture::count("common::Players::startPlayer", L""), 1);
}

TEST(Instances, AStopRequestClosesARunningInstanceAndSendsNothingWhenNoneRuns) {
    for (auto [major, line] : {std::pair{L"9", KV_PRODUCT_9}, std::pair{L"3", KV_PRODUCT_51}}) {
        StandInInstall install(standinRoot(), major, line);
        install.addInstance(5, L"five");
        EXPECT_TRUE(install.players().stopPlayer(0, 5)) << "nothing runs: nothing sent, still true";
        install.players().startPlayer(5, L"");
        ASSERT_TRUE(install.waitRunning(5));
        EXPECT_TRUE(install.players().stopPlayer(0, 5));
        EXPECT_TRUE(waitUntil([&] { return !install.players().isPlayerRunning(5); })) << "line " << line;
    }
}

// The stand-in started with "stay=1" records the close requests and stays, so every message shows. A rename
// sent afterwards on the same key comes after any data message of the stop request.
TEST(Instances, StopRequestSendsDataAndAPostButOnLine3OnlyAPostWithTheIndex) {
    StandInInstall line9(standinRoot(), L"9", KV_PRODUCT_9);
    StandInInstall line3(standinRoot(), L"3", KV_PRODUCT_51);
    for (auto* install : {&line9, &line3}) {
        install->addInstance(5, L"five");
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
    platform::win32::Win32PlayerHost host;
    common::setPlayerHost(&host);
    StandInInstall install(standinRoot(), L"5", KV_PRODUCT_71_64);
    install.addInstance(26, L"before");
    EXPECT_EQ(install.players().windowClassName(26), L"{20160302-cccc-dddd-ba64-00000000001a}");
    install.players().startPlayer(26, L"");
    ASSERT_TRUE(install.waitRunning(26));
    HWND frame = mainWindow(install, 26);

    install.players().rename(26, 26, L"after\r\n \u00e9\u6f22");
    EXPECT_TRUE(waitUntil([&] { return windowText(frame) == L"after \u00e9\u6f22"; })) << windowText(frame);
    EXPECT_EQ(install.players().displayName(26), L"after \u00e9\u6f22");
    common::setPlayerHost(nullptr);
}

TEST(Instances, PlacementMessagesMoveAndSizeKeepingTheAspectBeforeTheSendReturns) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(1, L"one", 1280, 720);
    install.players().startPlayer(1, L"");
    ASSERT_TRUE(install.waitRunning(1));
    HWND frame = mainWindow(install, 1);

    SendMessageW(frame, utility::kMsgPlaceByWidth, MAKELONG(100, 50), 640);
    RECT r{};
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 360);

    SendMessageW(frame, utility::kMsgPlaceByHeight, MAKELONG(10, 20), 450);
    GetWindowRect(frame, &r);
    EXPECT_EQ(r.right - r.left, 800);
    EXPECT_EQ(r.bottom - r.top, 450);

    PostMessageW(frame, utility::kMsgDockState, 1, 0);
    PostMessageW(frame, utility::kMsgFrameResizing, 1, 0);
    PostMessageW(frame, utility::kMsgEnterFullScreen, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return contains(install.events(1), "post 25012 0 0"); }));
    const auto events = install.events(1);
    EXPECT_TRUE(contains(events, "post 25003 1 0"));
    EXPECT_TRUE(contains(events, "post 25006 1 0"));
}

TEST(Instances, AnInstanceSendsTheManagerItsMessagesOnRequest) {
    RecordingHandler handler;
    utility::WindowIPC manager;
    ASSERT_TRUE(manager.create(std::wstring(utility::kManagerEndpointClass), &handler));
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(2, L"two", 1600, 900);
    install.players().startPlayer(2, L"");
    ASSERT_TRUE(install.waitRunning(2));
    HWND frame = mainWindow(install, 2);

    utility::WindowIPC endpoint;
    ASSERT_TRUE(endpoint.open(install.players().windowClassName(2)));
    for (std::uint32_t id : {25001u, 25002u, 25005u, 25007u, 25008u, 25010u, 25011u})
        endpoint.postMessage(standin::kMsgSendToManager, id, 0);
    EXPECT_TRUE(waitUntil([&] { return handler.seen.size() == 7; }));
    ASSERT_EQ(handler.seen.size(), 7u);
    for (const auto& s : handler.seen) EXPECT_EQ(s.first, reinterpret_cast<std::uintptr_t>(frame)) << s.message;
    EXPECT_EQ(handler.seen[3].message, 25007u);
    EXPECT_EQ(handler.seen[3].second, MAKELONG(1600, 900));
    manager.destroy();
}

TEST(Instances, RemoveWithoutTheVmRuntimeLogsTheFailedUnregistrationAndDeletesAnyway) {
    platform::win32::Win32PlayerHost host;
    common::setPlayerHost(&host);
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
    common::setPlayerHost(nullptr);
}
