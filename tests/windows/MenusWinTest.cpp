// The menus and the batch bar of kvmulti.exe, driven from another process through Active Accessibility
// (kvacc.exe) on three stand-in instances of line 14: a new group filled through the batch menu and the
// move-to-group dialog and emptied again from an instance menu, a batch start one second apart in list order,
// the sequence menu's arrangement of the started windows and the batch stop, and a removal.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "WinTestMain.h"
#include "core/arrange/Layouts.h"
#include "core/product/ProductLine.h"
#include "core/storage/Players.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "support/FakeWindowSystem.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::arg;
using testing_support::fileText;
using testing_support::installLine;
using testing_support::rectOf;
using testing_support::text;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

// Instance ids of line 14 carry 10 in their high byte.
constexpr int kId14 = 10 << 24;
constexpr int kInstances = 3;

class MenusWin : public testing_support::ManagerWin {
protected:
    std::string ownSettings; // the manager-wide settings file, written before the start when not empty

    void SetUp() override {
        prepareProgram();
        installLine(line14, L"14", kInstances);
        if (!ownSettings.empty()) writeText(program / "vms" / "config" / "vantors.config", ownSettings);
        startManager();
        ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2"})) << testing::PrintToString(rows());
    }
    // Stand-ins the manager started and a failed check left running end here, by their process ids.
    void TearDown() override { closeManager(kInstances); }

    std::string get(const std::wstring& what) { return kvacc(L"get " + what).output; }

    // Rows are picked by pressing the row itself, a click on its background; the batch bar counts them.
    void selectRows(std::initializer_list<int> picked) {
        for (int row : picked) {
            const auto run = kvacc(L"press --row " + std::to_wstring(row));
            ASSERT_EQ(run.exitCode, 0u) << run.output;
        }
        const std::string count = std::to_string(picked.size());
        std::string text;
        ASSERT_TRUE(waitUntil([&] { return (text = get(L"btnSelAll")).find(count) != std::string::npos; }, 10s))
            << text;
    }

    std::string groupsFile() { return fileText(program / "data" / "groupsV2"); }
    bool running(int index) {
        const std::wstring mutex = product::expandPattern(product::productLine(KV_PRODUCT_14).mutexPattern, index);
        HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, mutex.c_str());
        if (h) CloseHandle(h);
        return h != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
    }
    // The instance's "KVPlayerMainFrame" window, found through the process that owns its endpoint.
    HWND frameOf(int index) {
        const std::wstring endpoint =
            product::expandPattern(product::productLine(KV_PRODUCT_14).windowClassPattern, index);
        DWORD pid = 0;
        HWND w = FindWindowW(endpoint.c_str(), nullptr);
        return w && GetWindowThreadProcessId(w, &pid) ? utility::findMainFrameOfProcess(pid) : nullptr;
    }
};

// The batch start reads its interval from the manager-wide settings.
class MenusWinOneSecond : public MenusWin {
protected:
    MenusWinOneSecond() { ownSettings = R"({"batchStartInterval": 1})"; }
};

std::string id(int index) {
    return std::to_string(kId14 + index);
}

TEST_F(MenusWin, ANewGroupIsFilledFromTheBatchMenuAndEmptiedFromAnInstanceMenuEachChangeSavedAtOnce) {
    ASSERT_TRUE(press(L"addGroupBtn"));
    ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2", "Group 1"})) << testing::PrintToString(rows());
    EXPECT_NE(groupsFile().find("\r\nvantor14\r\nGroup 1||"), std::string::npos) << groupsFile();

    selectRows({0, 1});
    ASSERT_TRUE(press(L"btnBatchMore"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"MENU_MOVE_GROUP"));
    ASSERT_TRUE(pressIn(L"KVMultiDialog", L"confirmBtn"));
    const std::string both = "\r\nGroup 1|" + id(0) + "|" + id(1) + "||";
    EXPECT_TRUE(waitUntil([&] { return groupsFile().find(both) != std::string::npos; }, 10s)) << groupsFile();
    ASSERT_TRUE(rowsBecome({"Group 1", "demo 0", "demo 1", "demo 2"})) << testing::PrintToString(rows());

    ASSERT_TRUE(press(L"moreBtn --row 1"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"moveOutGroup"));
    const std::string one = "\r\nGroup 1|" + id(1) + "||";
    EXPECT_TRUE(waitUntil([&] { return groupsFile().find(one) != std::string::npos; }, 10s)) << groupsFile();
    EXPECT_EQ(kvacc(L"get moveOutGroup --class KVMultiMenu").exitCode, 2u) << "the menu closed with its choice";
}

TEST_F(MenusWinOneSecond, TheBatchBarStartsTheSelectedInOrderTheSequenceMenuArrangesThemAndTheBatchBarStopsThem) {
    selectRows({0, 1, 2});
    ASSERT_TRUE(press(L"btnBatchLaunch"));
    // The first starts at once, each next one a second later: the mutexes appear in list order.
    std::vector<int> order;
    EXPECT_TRUE(waitUntil(
        [&] {
            for (int index = 0; index < kInstances; ++index)
                if (std::find(order.begin(), order.end(), index) == order.end() && running(index))
                    order.push_back(index);
            return static_cast<int>(order.size()) == kInstances;
        },
        30s));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    std::string status;
    for (int row = 0; row < kInstances; ++row)
        EXPECT_TRUE(
            waitUntil([&] { return (status = get(L"labelStatus --row " + std::to_wstring(row))) == "Running\n"; }, 20s))
            << "row " << row << ": " << status;

    // The sequence menu arranges every running instance's frame where the layout puts it on a fake copy of
    // this desktop, with the manager's window and settings and the frames where they are now.
    std::vector<HWND> frames;
    for (int index = 0; index < kInstances; ++index) {
        HWND frame = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (frame = frameOf(index)) != nullptr; }, 20s)) << "instance " << index;
        frames.push_back(frame);
    }
    platform::win32::Win32WindowSystem real(program);
    testing_support::FakeWindowSystem fake;
    for (const platform::Monitor& m : real.monitors()) fake.addMonitor(m.area, m.workArea, m.dpiX, m.primary);
    fake.reportedMonitors = real.monitorCount();
    fake.virtualScreenOverride = real.virtualScreen();
    fake.windows11 = real.isWindows11();
    fake.overlap = real.readOverlap();
    const auto fakeMain = fake.addWindow(rectOf(window));
    common::Players players(KV_PRODUCT_14); // the stand-ins keep their resolution's aspect
    const auto& info = product::productLine(KV_PRODUCT_14);
    players.setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    players.init(line14);
    std::vector<platform::WindowHandle> fakeFrames;
    for (int index = 0; index < kInstances; ++index) {
        const auto resolution = players.resolution(index);
        fakeFrames.push_back(fake.addWindow(rectOf(frames[index]), resolution.width, resolution.height));
    }
    common::GlobalSettings own;
    own.load(program);
    arrange::MonitorTable table;
    arrange::runArrangement(fake, {fakeFrames, fakeMain, arrange::readArrangeSettings(own)}, table);

    const auto arranged = [&] {
        for (int index = 0; index < kInstances; ++index)
            if (!(rectOf(frames[index]) == fake.rect(fakeFrames[index]))) return false;
        return true;
    };
    ASSERT_FALSE(arranged()) << "the frames opened elsewhere";
    ASSERT_TRUE(press(L"btnSequeueWin"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"MENU_ALL"));
    EXPECT_TRUE(waitUntil(arranged, 20s));
    for (int index = 0; index < kInstances; ++index)
        EXPECT_EQ(text(rectOf(frames[index])), text(fake.rect(fakeFrames[index]))) << "instance " << index;

    ASSERT_TRUE(press(L"btnBatchQuit"));
    ASSERT_TRUE(pressIn(L"KVMultiMessageBox", L"msgbtn1"));
    EXPECT_TRUE(waitUntil([&] { return !running(0) && !running(1) && !running(2); }, 30s)) << "confirm stops all";
    for (int row = 0; row < kInstances; ++row)
        EXPECT_TRUE(waitUntil(
            [&] { return (status = get(L"labelStatus --row " + std::to_wstring(row))) == "Not running\n"; }, 20s))
            << "row " << row << ": " << status;
}

TEST_F(MenusWin, DeletingFromTheInstanceMenuAsksThenRemovesTheFolderAndTheRow) {
    const auto folder = line14 / "vms" / "vantor2";
    ASSERT_TRUE(std::filesystem::exists(folder));
    ASSERT_TRUE(press(L"moreBtn --row 2"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"delete"));
    ASSERT_TRUE(pressIn(L"KVMultiMessageBox", L"msgbtn1"));
    EXPECT_TRUE(waitUntil([&] { return !std::filesystem::exists(folder); }, 20s));
    EXPECT_TRUE(rowsBecome({"demo 0", "demo 1"})) << testing::PrintToString(rows());
    EXPECT_TRUE(std::filesystem::exists(line14 / "vms" / "vantor1")) << "the others stay";
}

} // namespace
