// The group control frame of kvmulti.exe on three running stand-ins of line 14, driven from outside: opened
// from the group's menu through kvacc.exe, the stand-ins are docked where the grid puts them; one asks to be
// maximised and leaves, its tile's Collect docks it back; one turns upright and the frame re-lays out; the
// manager's "show all" message hides and shows every window; a crash of the manager gives every instance
// window back to the desktop, where it survives the manager.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WinTestMain.h"
#include "core/ipc/IpcMessages.h"
#include "core/product/ProductLine.h"
#include "standin/StandInProtocol.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/WinProcess_win.h"
#include "ui/groupcontrol/GroupGrid.h"

using namespace std::chrono_literals;
using testing_support::arg;
using testing_support::fileText;
using testing_support::rectOf;
using testing_support::text;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

constexpr int kInstances = 3;

// Where the stand-in goes on a place message from a frame at `frame` (it keeps its resolution's aspect).
geometry::Rect placed(const geometry::Rect& frame, const groupcontrol::PlaceOrder& o, int rw, int rh) {
    const int width = o.message == utility::kMsgPlaceByWidth ? o.size : o.size * rw / rh;
    const int height = o.message == utility::kMsgPlaceByWidth ? o.size * rh / rw : o.size;
    const int left = frame.left + o.x, top = frame.top + o.y;
    return {left, top, left + width, top + height};
}

class GroupControlWin : public testing_support::ManagerWin {
protected:
    testing_support::ChildProcess standIns[kInstances];
    HWND windows[kInstances] = {};
    geometry::Rect opened[kInstances];
    HWND frame = nullptr;

    // Three lying instances (1280 × 720) in the group "farm", started before the manager.
    void SetUp() override {
        prepareProgram();
        std::filesystem::copy_file(arg(2), program / "crashreport.dll");
        testing_support::installLine(line14, L"14", kInstances);
        std::string members;
        for (int i = 0; i < kInstances; ++i) {
            writeText(line14 / "vms" / "config" / ("vantor" + std::to_string(i) + ".config"),
                      R"({"statusSettings.playerName": "demo )" + std::to_string(i) +
                          R"(", "advancedSettings.resolution": {"width": 1280, "height": 720}})");
            members += std::to_string(product::encodeInstanceId(KV_PRODUCT_14, i)) + "|";
        }
        writeText(program / "data" / "groupsV2", "\r\nvantor14\r\nfarm|" + members +
                                                     "|left=0|top=0|width=0|height=0|expand=1\r\nvantor9\r\n"
                                                     "vantor5_32\r\nvantor5_64\r\nvantor3");
        for (int i = 0; i < kInstances; ++i) {
            ASSERT_TRUE(standIns[i].start(line14 / "rqplayer.exe", L"index=" + std::to_wstring(i)));
            windows[i] = standIns[i].waitForWindow(L"KVPlayerMainFrame", 20s);
            ASSERT_NE(windows[i], nullptr) << i;
            opened[i] = rectOf(windows[i]);
        }
        startManager();
        ASSERT_TRUE(rowsBecome({"farm", "demo 0", "demo 1", "demo 2"})) << testing::PrintToString(rows());
        std::string status;
        for (int row = 1; row <= kInstances; ++row)
            ASSERT_TRUE(waitUntil(
                [&] {
                    return (status = kvacc(L"get labelStatus --row " + std::to_wstring(row)).output) == "Running\n";
                },
                20s))
                << row << ": " << status;
    }

    bool docked(int i) { return GetAncestor(windows[i], GA_PARENT) == frame; }
    bool onDesktop(int i) { return GetAncestor(windows[i], GA_PARENT) == GetDesktopWindow(); }
    // The stand-in posts `message` to the manager about its main window.
    void instanceSends(int i, std::uint32_t message, std::uint32_t resolution = 0) {
        const std::wstring endpoint = product::expandPattern(product::productLine(KV_PRODUCT_14).windowClassPattern, i);
        HWND w = FindWindowW(endpoint.c_str(), nullptr);
        ASSERT_NE(w, nullptr) << i;
        PostMessageW(w, standin::kMsgSendToManager, message, static_cast<LPARAM>(resolution));
    }
    bool rectBecomes(int i, const geometry::Rect& expected) {
        return waitUntil([&] { return rectOf(windows[i]) == expected; }, 10s);
    }
};

// The places of the three cells of the frame's grid, by the frame's own arithmetic: `top` is added to each y.
std::vector<groupcontrol::PlaceOrder> gridPlaces(const geometry::Rect& frame, int dx, int dy,
                                                 const bool landscape[kInstances]) {
    const groupcontrol::FrameMetrics m = groupcontrol::metricsFor(4, 1.0);
    const groupcontrol::Grid g =
        groupcontrol::computeGrid({frame.width(), frame.height(), kInstances, true, 1280, 720, std::nullopt, m});
    std::vector<groupcontrol::PlaceOrder> out;
    int x = 2, y = 2;
    for (int i = 0; i < kInstances; ++i) {
        const int rw = landscape[i] ? 1280 : 720, rh = landscape[i] ? 720 : 1280;
        out.push_back(
            groupcontrol::calcPlayerItemPos(x + dx, y + dy, g.cellWidth, g.cellHeight, true, landscape[i], rw, rh, m));
        if ((i + 1) % g.columns == 0) {
            x = 2;
            y += g.cellHeight + 2;
        } else {
            x += g.cellWidth + 2;
        }
    }
    return out;
}

} // namespace

TEST_F(GroupControlWin, AGroupFrameDocksItsInstancesLetsOneLeaveAndReturnAndReleasesThemAllOnACrash) {
    ASSERT_TRUE(press(L"moreBtnGroup --row 0"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"runGroupControl"));
    frame = waitForClass(L"KVGroupControlFrame");
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(waitUntil([&] { return docked(0) && docked(1) && docked(2); }, 20s));
    const geometry::Rect f = rectOf(frame);
    const bool lying[kInstances] = {true, true, true};
    const auto first = gridPlaces(f, 0, 0, lying);
    for (int i = 0; i < kInstances; ++i) {
        const geometry::Rect expected = placed(f, first[static_cast<std::size_t>(i)], 1280, 720);
        EXPECT_TRUE(rectBecomes(i, expected))
            << i << ": " << text(rectOf(windows[i])) << " not " << text(expected) << " in " << text(f);
    }
    EXPECT_EQ(kvacc(L"get collectBtn --class KVGroupControlFrame").exitCode, 2u) << "every instance is docked";

    // Maximised, the first leaves for where it was before; its tile offers Collect, which docks it again.
    instanceSends(0, utility::kMsgPlayerWantMax);
    EXPECT_TRUE(waitUntil([&] { return onDesktop(0) && rectOf(windows[0]) == opened[0]; }, 10s))
        << text(rectOf(windows[0]));
    ASSERT_TRUE(waitUntil([&] { return kvacc(L"get collectBtn --class KVGroupControlFrame").exitCode == 0; }, 10s));
    ASSERT_TRUE(press(L"collectBtn --class KVGroupControlFrame"));
    EXPECT_TRUE(waitUntil([&] { return docked(0); }, 10s));
    EXPECT_TRUE(rectBecomes(0, placed(f, first[0], 1280, 720))) << text(rectOf(windows[0]));

    // The second turns upright (720 × 1280): every docked instance is placed again, below the caption.
    instanceSends(1, utility::kMsgPlayerResolution, MAKELONG(720, 1280));
    const bool turned[kInstances] = {true, false, true};
    const auto relaid = gridPlaces(f, 1, 34, turned);
    EXPECT_EQ(relaid[1].message, utility::kMsgPlaceByHeight);
    for (int i = 0; i < kInstances; ++i) {
        const geometry::Rect expected =
            placed(f, relaid[static_cast<std::size_t>(i)], turned[i] ? 1280 : 720, turned[i] ? 720 : 1280);
        EXPECT_TRUE(rectBecomes(i, expected)) << i << ": " << text(rectOf(windows[i])) << " not " << text(expected);
    }

    // "Show all" with 1 hides the main window and the frame, with 0 shows them again.
    HWND endpoint = FindWindowW(std::wstring(utility::kManagerEndpointClass).c_str(), nullptr);
    ASSERT_NE(endpoint, nullptr);
    PostMessageW(endpoint, utility::kMsgShowAll, 1, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(window) && !IsWindowVisible(frame); }, 10s));
    PostMessageW(endpoint, utility::kMsgShowAll, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(window) && IsWindowVisible(frame); }, 10s));
    EXPECT_TRUE(docked(0) && docked(1) && docked(2));

    // A crash: every instance window goes back to the desktop where it was (the turned one by its old width as
    // its height) and outlives the manager.
    const std::wstring crash = L"kvmulti-test-crash-" + std::to_wstring(manager.id());
    HANDLE event = OpenEventW(EVENT_MODIFY_STATE, FALSE, crash.c_str());
    ASSERT_NE(event, nullptr) << "the crash reporter stub is loaded";
    SetEvent(event);
    CloseHandle(event);
    EXPECT_EQ(manager.waitForExit(20s), 3u);
    window = nullptr;
    const geometry::Rect home[kInstances] = {opened[0],
                                             {opened[1].left, opened[1].top,
                                              opened[1].left + opened[1].width() * 720 / 1280,
                                              opened[1].top + opened[1].width()},
                                             opened[2]};
    for (int i = 0; i < kInstances; ++i) {
        EXPECT_TRUE(waitUntil([&] { return IsWindow(windows[i]) && onDesktop(i) && IsWindowVisible(windows[i]); }, 10s))
            << i << "\n"
            << fileText(line14 / ("events-L4-" + std::to_string(i) + ".txt")) << "\n"
            << fileText(program / "log" / "multis.log");
        EXPECT_TRUE(rectBecomes(i, home[i])) << i << ": " << text(rectOf(windows[i])) << " not " << text(home[i]);
    }
}
