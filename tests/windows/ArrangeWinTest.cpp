// Window arrangement on Wine's desktop: six stand-in instances (one of them minimised), whose windows resize
// on the place messages, are arranged through the Win32 window system and must end exactly where the same
// layout puts them on a fake desktop built from the same monitor. The fixed grid moves windows itself; the
// auto size with its fit-height pass sends both place messages. The layouts' arithmetic is tested natively.

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "WinTestMain.h"
#include "core/arrange/WindowArranger.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/dispatch/MessagePump_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "support/FakeWindowSystem.h"
#include "support/StandInHarness_win.h"

using geometry::Rect;
using platform::win32::handleOf;
using platform::win32::hwndOf;
using testing_support::FakeWindowSystem;
using namespace std::chrono_literals;

namespace {

constexpr int kWindows = 6;

HWND createMainWindow() {
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KVArrangeTestMain";
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return nullptr;
    HWND w = CreateWindowExW(0, L"KVArrangeTestMain", L"main", WS_OVERLAPPEDWINDOW, 100, 100, 800, 600, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    if (w) ShowWindow(w, SW_SHOW);
    return w;
}

class ArrangeOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(testArguments().empty()) << "the stand-ins' folder is the first argument";
        m_install = std::make_unique<testing_support::StandInInstall>(
            testing_support::windowsPathOf(testArguments()[0]), L"9", KV_PRODUCT_9);
        // A 640x360 instance opens a 320x180 frame: 16:9, which the fake's windows keep too.
        for (int i = 0; i < kWindows; ++i) m_install->addInstance(i + 1, L"arranged", 640, 360);
        for (int i = 0; i < kWindows; ++i) m_install->players().startPlayer(i + 1, L"");
        for (int i = 0; i < kWindows; ++i) {
            ASSERT_TRUE(m_install->waitRunning(i + 1)) << "instance " << i + 1 << " did not start";
            HWND frame = reinterpret_cast<HWND>(m_install->players().findPlayerWindow(i + 1));
            RECT r{};
            GetWindowRect(frame, &r);
            m_opened.push_back({r.left, r.top, r.right, r.bottom});
            m_windows.push_back(handleOf(frame));
        }
        ShowWindow(hwndOf(m_windows.back()), SW_MINIMIZE);
        ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return IsIconic(hwndOf(m_windows.back())) != 0; }, 10s));
        m_main = createMainWindow();
        ASSERT_NE(m_main, nullptr);
        m_system = std::make_unique<platform::win32::Win32WindowSystem>(m_folder.path());
    }
    void TearDown() override {
        if (m_main) DestroyWindow(m_main);
    }

    void writeDataIni(const char* text) {
        std::filesystem::create_directories(m_folder.path() / L"data");
        std::ofstream(m_folder.path() / L"data" / L"data.ini") << text;
    }

    // Arranges the helper's windows for real and on a fake copy of this desktop; the rectangles must agree.
    void expectSameAsFake(const arrange::ArrangeSettings& settings) {
        platform::WindowSystem& real = *m_system;
        FakeWindowSystem fake;
        for (const platform::Monitor& m : real.monitors()) fake.addMonitor(m.area, m.workArea, m.dpiX, m.primary);
        fake.reportedMonitors = real.monitorCount();
        fake.virtualScreenOverride = real.virtualScreen();
        fake.windows11 = real.isWindows11();
        fake.overlap = real.readOverlap();
        Rect r;
        ASSERT_TRUE(real.windowRect(handleOf(m_main), r));
        const auto fakeMain = fake.addWindow(r);
        std::vector<platform::WindowHandle> fakeWindows;
        for (std::size_t i = 0; i < m_windows.size(); ++i) {
            const bool minimized = real.isMinimized(m_windows[i]);
            ASSERT_TRUE(real.windowRect(m_windows[i], r));
            fakeWindows.push_back(fake.addWindow(minimized ? openedRect(i) : r));
            if (minimized) fake.minimize(fakeWindows.back());
        }
        arrange::MonitorTable table;
        arrange::runArrangement(fake, {fakeWindows, fakeMain, settings}, table);

        std::vector<arrange::ArrangeTarget> targets{{99, 0}}; // not running: skipped
        for (std::size_t i = 0; i < m_windows.size(); ++i) targets.push_back({static_cast<int>(i), m_windows[i]});
        arrange::WindowArranger arranger(real);
        arranger.arrange(targets, handleOf(m_main), settings);
        ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return arranger.idle(); }, 60s));
        // The placements are posted to the instances' threads (SWP_ASYNCWINDOWPOS): they land a little later.
        platform::win32::pumpMessagesUntil(
            [&] {
                for (std::size_t i = 0; i < m_windows.size(); ++i)
                    if (!real.windowRect(m_windows[i], r) || !(r == fake.rect(fakeWindows[i]))) return false;
                return true;
            },
            10s);

        for (std::size_t i = 0; i < m_windows.size(); ++i) {
            ASSERT_TRUE(real.windowRect(m_windows[i], r));
            const Rect expected = fake.rect(fakeWindows[i]);
            EXPECT_EQ(r, expected) << "window " << i << ": (" << r.left << ", " << r.top << ", " << r.right << ", "
                                   << r.bottom << ") instead of (" << expected.left << ", " << expected.top << ", "
                                   << expected.right << ", " << expected.bottom << ")";
            EXPECT_FALSE(IsIconic(hwndOf(m_windows[i]))) << i;
        }
    }

    // Where instance i opened. Wine cannot tell another process's minimised window's restored rectangle
    // (GetWindowPlacement answers with the icon's), so the fake takes it from here.
    Rect openedRect(std::size_t i) const { return m_opened[i]; }

    Rect rectAt(std::size_t i) {
        Rect r;
        m_system->windowRect(m_windows[i], r);
        return r;
    }

    testing_support::WinTempDir m_folder;
    std::unique_ptr<testing_support::StandInInstall> m_install; // ends the instances it started
    std::vector<platform::WindowHandle> m_windows;
    std::vector<Rect> m_opened;
    HWND m_main = nullptr;
    std::unique_ptr<platform::win32::Win32WindowSystem> m_system;
};

} // namespace

TEST_F(ArrangeOnWine, DesktopFactsComeFromTheSystem) {
    const auto monitors = m_system->monitors();
    ASSERT_EQ(static_cast<int>(monitors.size()), m_system->monitorCount());
    EXPECT_TRUE(monitors.front().primary);
    EXPECT_GT(monitors.front().workArea.width(), 0);
    EXPECT_EQ(m_system->monitorOf(handleOf(m_main)).area, monitors.front().area);
    EXPECT_EQ(m_system->primaryScreenWidth(), monitors.front().area.width());
    EXPECT_FALSE(m_system->isWindows11());
    Rect normal;
    ASSERT_TRUE(m_system->normalRect(m_windows.front(), normal));
    EXPECT_EQ(normal, openedRect(0));
    EXPECT_TRUE(m_system->isMinimized(m_windows.back()));
}

TEST_F(ArrangeOnWine, OverlapValuesComeFromDataIniAndNonNumericTextCountsAsZero) {
    EXPECT_EQ(m_system->readOverlap().x, 0);
    writeDataIni("[setting]\r\noverlapX=7\r\noverlapY=abc\r\n");
    const platform::Overlap overlap = m_system->readOverlap();
    EXPECT_EQ(overlap.x, 7);
    EXPECT_EQ(overlap.y, 0);
}

TEST_F(ArrangeOnWine, FixedGridRestoresTheMinimisedWindowAndKeepsSizes) {
    arrange::ArrangeSettings s;
    s.autoSize = false;
    s.rowCount = 4;
    expectSameAsFake(s);
    EXPECT_EQ(rectAt(3).width(), 320);
}

TEST_F(ArrangeOnWine, AutoSizeWithTwoPerRowShrinksTheRowsThatRunOffTheScreen) {
    arrange::ArrangeSettings s;
    s.rowCount = 2;
    expectSameAsFake(s);
    const int height = m_system->monitorOf(handleOf(m_main)).workArea.height();
    EXPECT_EQ(rectAt(0).height(), height / 3 + 1);
}

// An instance whose window thread hangs must not hold the arranger: its placements are posted to it.
TEST(ArrangeHungInstance, PlacingAndRaisingAHungWindowReturnAtOnce) {
    ASSERT_FALSE(testArguments().empty()) << "the stand-ins' folder is the first argument";
    testing_support::StandInInstall install(testing_support::windowsPathOf(testArguments()[0]), L"9", KV_PRODUCT_9);
    install.addInstance(1, L"hung", 640, 360);
    install.players().startPlayer(1, L"hang=14000");
    ASSERT_TRUE(install.waitRunning(1));
    const platform::WindowHandle frame = install.players().findPlayerWindow(1);
    utility::WindowIPC endpoint;
    endpoint.open(install.players().windowClassName(1));
    endpoint.postData(1, 14000, L"stuck");
    ASSERT_TRUE(testing_support::waitUntil([&] { return install.events(1).size() == 1; })) << "it hangs now";
    HWND main = createMainWindow();

    std::atomic<bool> returned{false};
    std::thread arranger([&] {
        platform::win32::Win32WindowSystem windows(std::filesystem::temp_directory_path());
        windows.bringToFront(frame);
        windows.place(frame, handleOf(main), 40, 30);
        returned = true;
    });
    const bool inTime = testing_support::waitUntil([&] { return returned.load(); }, 5s);
    if (!inTime) TerminateProcess(OpenProcess(PROCESS_TERMINATE, FALSE, install.processOf(1)), 1); // frees it
    arranger.join();
    EXPECT_TRUE(inTime) << "the arranger waited for the hung window";
    DestroyWindow(main);
}
