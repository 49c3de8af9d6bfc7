// The process's IPC proxy against real stand-in instances: a hung key beside a healthy one, and the watchdog
// killing an instance that hangs on a close request. Per-key order is the proxy's own logic, tested natively.

#include <windows.h>

#include <gtest/gtest.h>

#include "core/ipc/IpcMessages.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "support/StandInHarness_win.h"

using namespace std::chrono_literals;
using testing_support::StandInInstall;
using testing_support::standinRoot;
using testing_support::waitUntil;
using testing_support::windowText;

namespace {

utility::WindowIPC endpointOf(StandInInstall& install, int index) {
    utility::WindowIPC endpoint;
    endpoint.open(install.players().windowClassName(index));
    return endpoint;
}

} // namespace

TEST(IpcProxy, AHungKeyDoesNotDelayAnotherKey) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(3, L"hangs");
    install.addInstance(4, L"healthy");
    install.players().startPlayer(3, L"hang=14000");
    install.players().startPlayer(4, L"");
    ASSERT_TRUE(install.waitRunning(3));
    ASSERT_TRUE(install.waitRunning(4));

    endpointOf(install, 3).postData(3, utility::kMsgRename, L"stuck");
    ASSERT_TRUE(waitUntil([&] { return install.events(3).size() == 1; })) << "it got the message and hangs";
    endpointOf(install, 4).postData(4, utility::kMsgRename, L"renamed");
    HWND healthy = reinterpret_cast<HWND>(install.players().findPlayerWindow(4));
    EXPECT_TRUE(waitUntil([&] { return windowText(healthy) == L"renamed"; }));
    EXPECT_EQ(install.events(3).size(), 1u) << "while the other one still hangs in its first message";
    EXPECT_TRUE(install.players().isPlayerRunning(3)) << "a hung rename is only reported, never killed";
}

TEST(IpcProxy, AStopQueuedBehindAHungRenameStillEndsTheInstance) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(2, L"two");
    install.players().startPlayer(2, L"hang=14000");
    ASSERT_TRUE(install.waitRunning(2));
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, install.processOf(2));
    ASSERT_NE(process, nullptr);

    endpointOf(install, 2).postData(2, utility::kMsgRename, L"stuck");
    ASSERT_TRUE(waitUntil([&] { return install.events(2).size() == 1; })) << "it got the rename and hangs";
    EXPECT_TRUE(install.players().stopPlayer(0, 2)); // its data message waits behind the rename
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0) << "the watchdog kills it";
    CloseHandle(process);
}

TEST(IpcProxy, AnInstanceHungOnACloseRequestIsKilledAndItsKeyGoesOn) {
    StandInInstall install(standinRoot(), L"9", KV_PRODUCT_9);
    install.addInstance(1, L"one");
    install.players().startPlayer(1, L"hang=9222");
    ASSERT_TRUE(install.waitRunning(1));
    const DWORD pid = install.processOf(1);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_NE(process, nullptr);

    const auto sent = std::chrono::steady_clock::now();
    endpointOf(install, 1).postData(1, utility::kMsgQuit, L"1");
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0) << "the watchdog kills it";
    CloseHandle(process);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - sent);
    std::printf("hung instance ended %lld ms after the close request\n", static_cast<long long>(took.count()));

    install.players().startPlayer(1, L""); // the same key, a new instance
    ASSERT_TRUE(install.waitRunning(1));
    endpointOf(install, 1).postData(1, utility::kMsgRename, L"next");
    HWND frame = reinterpret_cast<HWND>(install.players().findPlayerWindow(1));
    EXPECT_TRUE(waitUntil([&] { return windowText(frame) == L"next"; })) << "the key's worker goes on";
}
