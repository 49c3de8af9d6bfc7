// The instance model against real stand-in instances: its launch starts the line's emulator, the one-second
// refresh sees the instance's mutex and main window, its stop closes it, and the refresh sees it gone.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "core/model/KVMultiModel.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/model/InstallSources_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"
#include "support/StandInHarness_win.h"

using testing_support::StandInInstall;
using testing_support::standinRoot;
using testing_support::waitUntil;

namespace {
const common::OwnerKey kTestOwner = common::newOwnerKey();
} // namespace

TEST(ModelOnWindows, LaunchedInstanceIsReportedRunningThenStoppedByTheRefresh) {
    StandInInstall install(standinRoot(), L"14", KV_PRODUCT_14);
    install.addInstance(2, L"Two");
    testing_support::WinTempDir program;
    common::PlayerSet players;
    const auto& info = product::productLine(KV_PRODUCT_14);
    players.line(KV_PRODUCT_14).setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    players.line(KV_PRODUCT_14).init(install.folder());
    platform::win32::Win32InstallSources sources(program.path());
    platform::win32::Win32InstanceDesktop desktop;
    platform::win32::Win32WindowSystem windows(program.path());
    KVMultiModel model(players, sources, desktop, windows, program.path());
    std::vector<std::tuple<std::int32_t, bool, platform::WindowHandle>> changes;
    model.events().playerStateChanged.subscribe(
        kTestOwner,
        [&](std::int32_t id, bool running, platform::WindowHandle top) { changes.emplace_back(id, running, top); });
    model.reloadPlayerList();
    const std::int32_t id = product::encodeInstanceId(KV_PRODUCT_14, 2);
    ASSERT_NE(model.findRecord(id), nullptr);
    EXPECT_EQ(model.findRecord(id)->status, model::kStatusStopped);

    model.launch(id);
    ASSERT_TRUE(waitUntil([&] {
        model.refreshPlayerStatus();
        return !changes.empty();
    }));
    EXPECT_EQ(std::get<0>(changes[0]), id);
    EXPECT_TRUE(std::get<1>(changes[0]));
    ASSERT_TRUE(install.waitRunning(2));
    // The mutex may come before the main window: the record gets the window on a later tick.
    const platform::WindowHandle frame = install.players().findPlayerWindow(2);
    EXPECT_TRUE(waitUntil([&] {
        model.refreshPlayerStatus();
        return model.findRecord(id)->topWindow == frame;
    }));
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(sources.readPathConfig(L"lastRun"), L"4");

    model.stop(id);
    ASSERT_TRUE(waitUntil([&] {
        model.refreshPlayerStatus();
        return changes.size() == 2;
    }));
    EXPECT_EQ(changes[1], std::make_tuple(id, false, platform::WindowHandle{0}));
    model.refreshPlayerStatus();
    EXPECT_EQ(changes.size(), 2u);
}

// The refresh's listings follow mutexes and windows as they come and go; a window that replaces another is
// read afresh, not taken for the one before.
TEST(ModelOnWindows, DesktopListsMutexesAndTopWindowsAsTheyComeAndGo) {
    platform::win32::Win32InstanceDesktop desktop;
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    const auto mutexListed = [&](const std::wstring& name) {
        std::vector<std::wstring> names;
        EXPECT_TRUE(desktop.listMutexes(names));
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    const auto classOf = [&](HWND window) {
        std::vector<platform::TopWindow> windows;
        EXPECT_TRUE(desktop.listTopWindows(windows));
        for (const auto& w : windows)
            if (w.handle == reinterpret_cast<platform::WindowHandle>(window)) {
                EXPECT_EQ(w.processId, static_cast<std::int32_t>(GetCurrentProcessId()));
                return w.className;
            }
        return std::wstring(L"(not listed)");
    };

    const std::wstring mutexName = L"kvmulti-listed-" + tag;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName.c_str());
    ASSERT_NE(mutex, nullptr);
    EXPECT_TRUE(mutexListed(mutexName));
    CloseHandle(mutex);
    EXPECT_FALSE(mutexListed(mutexName));

    std::vector<std::wstring> classes{L"kvmulti-listed-a-" + tag, L"kvmulti-listed-b-" + tag};
    for (const auto& name : classes) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name.c_str();
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    HWND first =
        CreateWindowExW(0, classes[0].c_str(), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(classOf(first), classes[0]);
    DestroyWindow(first);
    EXPECT_EQ(classOf(first), L"(not listed)");
    HWND second =
        CreateWindowExW(0, classes[1].c_str(), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(classOf(second), classes[1]);
    DestroyWindow(second);
}
