// kvmulti.exe on a small installation of two product lines with stand-in emulators, driven as a user would:
// real mouse messages at the controls' positions, results polled. Where the controls lie is computed by
// laying the same skins out at the window's client size, which is what the program itself does. One
// screenshot per product tab is saved into the build folder (main-window-<line>.png), and one of the window in
// Chinese (main-window-zh_CN.png).

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "WinTestMain.h"
#include "core/product/ProductLine.h"
#include "core/resources/ResourcePack.h"
#include "support/ManagerInstall_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"
#include "support/WindowCapture_win.h"
#include "toolkit/List.h"
#include "toolkit/MessageBox.h"
#include "toolkit/SkinParser.h"
#include "toolkit/SkinResources.h"

using namespace std::chrono_literals;
using testing_support::arg;
using testing_support::captureClient;
using testing_support::ChildProcess;
using testing_support::installLine;
using testing_support::savePng;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

bool painted(const ui::Bitmap& c) {
    return std::any_of(c.pixels.begin(), c.pixels.end(), [](std::uint32_t p) { return (p & 0xFFFFFF) != 0; });
}

// Green text ("running") somewhere in the rectangle.
bool hasGreen(const ui::Bitmap& c, const ui::Rect& r) {
    for (int y = std::max(0, r.top); y < std::min(c.height, r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(c.width, r.right); ++x) {
            const std::uint32_t p = c.at(x, y);
            const int red = (p >> 16) & 0xFF, green = (p >> 8) & 0xFF, blue = p & 0xFF;
            if (green > 150 && green > red + 60 && green > blue + 20) return true;
        }
    return false;
}

// Light text ("not running") somewhere in the rectangle.
bool hasText(const ui::Bitmap& c, const ui::Rect& r) {
    for (int y = std::max(0, r.top); y < std::min(c.height, r.bottom); ++y)
        for (int x = std::max(0, r.left); x < std::min(c.width, r.right); ++x)
            if (((c.at(x, y) >> 8) & 0xFF) > 150) return true;
    return false;
}

void click(HWND hwnd, const ui::Rect& r) {
    const LPARAM at = MAKELPARAM(r.left + r.width() / 2, r.top + r.height() / 2);
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

ui::Size clientSize(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right, r.bottom};
}

class MainWindowWin : public testing::Test {
protected:
    testing_support::WinTempDir root;
    std::filesystem::path program = root.path() / "program";
    common::rcc::ResourcePack pack;
    ui::ControlFactory factory;
    ChildProcess manager;
    HWND window = nullptr;
    std::string language; // the "languageId" setting the manager starts with; none: the system's language

    void SetUp() override {
        ASSERT_GE(testArguments().size(), 3u) << "pass kvmulti.exe, the stand-in folder and the build folder";
        std::filesystem::create_directories(program);
        for (const char* file : {"kvmulti.exe", "rqresource.rcc"})
            std::filesystem::copy_file(arg(0).parent_path() / file, program / file);
        std::filesystem::copy(arg(0).parent_path() / "fonts", program / "fonts");
        installLine(root.path() / "Android14", L"14", 3);
        installLine(root.path() / "Android9", L"9", 1);
        if (!language.empty()) // read from the default line's settings, line 4 here
            writeText(root.path() / "Android14" / "vms" / "config" / "vantors.config",
                      R"({"languageId": ")" + language + R"("})");
        writeText(program / "pathconfig.ini", "[setting]\r\nplayer14=" + (root.path() / "Android14").string() +
                                                  "\r\nplayer9=" + (root.path() / "Android9").string() + "\r\n");
        ASSERT_TRUE(pack.open(program / "rqresource.rcc"));
        ASSERT_TRUE(manager.start(program / "kvmulti.exe"));
        window = manager.waitForWindow(L"KVRemoteLoginFrame", 30s);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        manager.waitForExit(20s);
        // A stand-in the manager started and a failed check left running ends here, by its process id.
        const std::wstring endpoint = product::expandPattern(product::productLine(KV_PRODUCT_14).windowClassPattern, 1);
        if (HWND w = FindWindowW(endpoint.c_str(), nullptr)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(p, 1);
                WaitForSingleObject(p, 10000);
                CloseHandle(p);
            }
        }
    }

    // The main window as the program lays it out with `rows` rows and the tab bar shown.
    std::unique_ptr<ui::Window> layout(int rows) {
        ui::SkinResources resources({}, &pack);
        auto w = std::make_unique<ui::Window>();
        std::wstring error;
        EXPECT_TRUE(
            ui::SkinParser(factory).parseWindow(*resources.read(L"xml_multis_player_rootwindow.xml"), *w, error));
        const auto rowSkin = resources.read(L"xml_multis_player_list_item.xml");
        for (int i = 0; i < rows; ++i)
            w->find<ui::List>(L"listVm")->add(ui::SkinParser(factory).parseControl(*rowSkin, error));
        w->resize(clientSize(window));
        w->layout();
        return w;
    }
    ui::Rect rowPart(ui::Window& w, int row, const wchar_t* name) {
        return w.find<ui::List>(L"listVm")->at(static_cast<std::size_t>(row))->findByName(name)->rect();
    }
    // Presses the confirmation box's button (0 cancel, 1 confirm) once the box shows.
    bool pressBox(int button) {
        HWND box = nullptr;
        if (!waitUntil([&] { return (box = FindWindowW(L"KVMultiMessageBox", nullptr)) && IsWindowVisible(box); }, 10s))
            return false;
        ui::Window owner;
        msg::MessageBoxWindow model(0, L"prompt", L"");
        model.addButton(L"cancel", nullptr);
        model.addButton(L"confirm", nullptr);
        if (!model.show(owner, factory)) return false;
        model.window()->resize(clientSize(box));
        model.window()->layout();
        click(box, model.window()->findControl(L"msgbtn" + std::to_wstring(button))->rect());
        return waitUntil([&] { return !IsWindowVisible(box); }, 10s);
    }
};

TEST_F(MainWindowWin, ListsInstancesStartsAStandInFromItsRowStopsItAfterAskingAndSavesGroupsOnClose) {
    auto shown = layout(3);
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 10s));
    const std::wstring mutex14 = product::expandPattern(product::productLine(KV_PRODUCT_14).mutexPattern, 1);
    const auto running = [&] {
        HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, mutex14.c_str());
        if (h) CloseHandle(h);
        return h != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
    };
    ASSERT_FALSE(running());

    // Line 4 is shown first; its tab screenshot once the first paint landed.
    ASSERT_TRUE(waitUntil([&] { return painted(captureClient(window)); }, 10s));
    savePng(captureClient(window), arg(2) / "main-window-14.png");

    click(window, rowPart(*shown, 1, L"startBtn"));
    ASSERT_TRUE(waitUntil(running, 30s)) << "the row's start button starts the stand-in";
    ASSERT_TRUE(waitUntil([&] { return FindWindowW(L"KVPlayerMainFrame", nullptr) != nullptr; }, 30s));
    const ui::Rect status = rowPart(*shown, 1, L"labelStatus");
    EXPECT_TRUE(waitUntil([&] { return hasGreen(captureClient(window), status); }, 2500ms))
        << "the row turns to running within two refreshes";
    EXPECT_FALSE(hasGreen(captureClient(window), rowPart(*shown, 0, L"labelStatus"))) << "the other rows stay";
    savePng(captureClient(window), arg(2) / "main-window-14-running.png");

    click(window, rowPart(*shown, 1, L"startBtn"));
    ASSERT_TRUE(pressBox(0)) << "stop asks first; cancel keeps it running";
    EXPECT_TRUE(running());
    click(window, rowPart(*shown, 1, L"startBtn"));
    ASSERT_TRUE(pressBox(1));
    EXPECT_TRUE(waitUntil([&] { return !running(); }, 30s)) << "confirm stops the instance";
    EXPECT_TRUE(waitUntil([&] { return !hasGreen(captureClient(window), status); }, 5s));

    // The other tab.
    click(window, shown->findControl(L"product9Btn")->rect());
    auto nine = layout(1);
    ASSERT_TRUE(waitUntil([&] { return hasText(captureClient(window), rowPart(*nine, 0, L"labelStatus")); }, 5s));
    EXPECT_FALSE(hasGreen(captureClient(window), rowPart(*nine, 0, L"labelStatus")));
    savePng(captureClient(window), arg(2) / "main-window-9.png");

    std::filesystem::remove(program / "data" / "groupsV2"); // whatever start-up wrote: closing writes it anew
    click(window, shown->findControl(L"closebtn")->rect());
    EXPECT_EQ(manager.waitForExit(30s), 1u);
    window = nullptr;
    EXPECT_TRUE(std::filesystem::exists(program / "data" / "groupsV2")) << "the groups are saved at shutdown";
}

// The same installation in Chinese: the title and the texts come from the zh_CN column, drawn with the face
// Chinese windows ask for ("Microsoft YaHei", which our Wine prefixes map to a Chinese font).
class MainWindowChineseWin : public MainWindowWin {
protected:
    void SetUp() override {
        language = "zh_CN";
        MainWindowWin::SetUp();
    }
};

TEST_F(MainWindowChineseWin, StartsInTheLanguageOfTheSettingsAndSavesItsScreenshot) {
    ASSERT_TRUE(waitUntil([&] { return IsWindowVisible(window) != FALSE; }, 10s));
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"\u591A\u5F00\u5668") << "multiplayer_window in Chinese";
    ASSERT_TRUE(waitUntil([&] { return painted(captureClient(window)); }, 10s));
    const auto shown = layout(3);
    EXPECT_TRUE(waitUntil([&] { return hasText(captureClient(window), rowPart(*shown, 0, L"labelStatus")); }, 5s));
    savePng(captureClient(window), arg(2) / "main-window-zh_CN.png");
}

} // namespace
