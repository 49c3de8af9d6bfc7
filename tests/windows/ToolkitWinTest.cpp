// The toolkit's Win32 host on the Wine desktop: the shipped main window skin with instance rows, painted with
// GDI from the packed theme, driven by real window messages. A screenshot of the window is saved into the
// build folder (toolkit-main-window.png) for people to look at.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "WinTestMain.h"
#include "core/resources/ResourcePack.h"
#include "platform/win32/dispatch/MessagePump_win.h"
#include "support/WinProcess_win.h"
#include "support/WindowCapture_win.h"
#include "toolkit/Button.h"
#include "toolkit/Edit.h"
#include "toolkit/List.h"
#include "toolkit/MenuWnd.h"
#include "toolkit/MessageBox.h"
#include "toolkit/SkinParser.h"
#include "toolkit/Slider.h"
#include "toolkit/win32/ToolkitWindow_win.h"

using namespace ui;
using namespace std::chrono_literals;
using testing_support::captureClient;
using testing_support::savePng;

namespace {

struct RowLook {
    const wchar_t* name;
    const wchar_t* status;
    Argb color;
    bool running;
    int progress; // -1: no progress bar
};

void fillRow(Control& row, int index, const RowLook& look) {
    row.findByName(L"lableNameControl")->setText(look.name);
    row.findByName(L"indexName")->setText(std::to_wstring(index));
    row.findByName(L"labelAndVerion")->setText(L"14");
    row.findByName(L"labelCpuMemoryInfo")->setText(L"4 cores 4096M");
    row.findByName(L"labelResolutionInfo")->setText(L"1280x720 (DPI 240)");
    row.findByName(L"labelDiskInfo")->setText(L"2.4GB");
    Control* status = row.findByName(L"labelStatus");
    status->setText(look.status);
    status->setTextColor(look.color);
    if (look.running)
        dynamic_cast<Button*>(row.findByName(L"startBtn"))
            ->setStateImages(L"multiplayer_all\\quit_normal.png", L"multiplayer_all\\quit_hover.png",
                             L"multiplayer_all\\quit_pushed.png");
    if (look.progress >= 0) {
        row.findByName(L"startBtn")->setVisible(false);
        row.findByName(L"infoLayout")->setVisible(false);
        auto* bar = dynamic_cast<Progress*>(row.findByName(L"progressbar"));
        bar->setVisible(true);
        bar->setValue(look.progress);
    }
}

std::uint32_t pixelAt(const Bitmap& b, Point p) {
    return b.at(p.x, p.y);
}
int red(std::uint32_t bgra) {
    return static_cast<int>((bgra >> 16) & 0xFF);
}
int green(std::uint32_t bgra) {
    return static_cast<int>((bgra >> 8) & 0xFF);
}

LPARAM clientPoint(Point p) {
    return MAKELPARAM(p.x, p.y);
}

Point centreOf(const Rect& r) {
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

struct ToolkitWin : testing::Test {
    void SetUp() override {
        ASSERT_GE(testArguments().size(), 2u) << "pass the resource pack and the screenshot path";
        ASSERT_TRUE(pack.open(testing_support::windowsPathOf(testArguments()[0])));
        ASSERT_NO_FATAL_FAILURE(fill(window, 8));
        window.addNotifier([this](const Notify& n) {
            events.push_back(std::wstring(n.type) + L":" + (n.sender ? n.sender->name() : L""));
        });
        host = std::make_unique<win32::ToolkitWindow>(window, resources);
        ASSERT_TRUE(host->create(nullptr, L"KVToolkitTestFrame", L"kvmulti toolkit"));
        ShowWindow(host->hwnd(), SW_SHOWNORMAL);
        UpdateWindow(host->hwnd());
        ASSERT_TRUE(platform::win32::pumpMessagesUntil(
            [&] { return IsWindowVisible(host->hwnd()) && !GetUpdateRect(host->hwnd(), nullptr, FALSE); }, 5000ms));
    }

    // The main window skin with `rows` instance rows in four looks.
    void fill(Window& target, int rows) {
        const auto root = resources.read(L"xml_multis_player_rootwindow.xml");
        const auto row = resources.read(L"xml_multis_player_list_item.xml");
        ASSERT_TRUE(root && row);
        std::wstring error;
        ASSERT_TRUE(SkinParser(factory).parseWindow(*root, target, error));
        target.findControl(L"titleText")->setText(L"Multi-instance manager");
        target.findControl(L"product14Btn")->setText(L"Android 14");
        target.findControl(L"product9Btn")->setText(L"Android 9");
        target.findControl(L"product5_32Btn")->setText(L"Android 7.1");
        dynamic_cast<Option*>(target.findControl(L"product14Btn"))->setSelected(true, false);
        target.findControl(L"btnAddVm")->setText(L"New instance");
        auto* list = target.find<List>(L"listVm");
        const RowLook looks[] = {{L"KVPlayer", L"Stopped", 0xFFBFBFC3, false, -1},
                                 {L"Game <c ffdd00>farm</c> 1", L"Running", 0xFF2EE5A8, true, -1},
                                 {L"Copy of KVPlayer", L"Creating", 0xFFFFDD00, false, 40},
                                 {L"Broken copy", L"Copy failed", 0xFFFF8686, false, -1}};
        for (int i = 0; i < rows; ++i) {
            auto control = SkinParser(factory).parseControl(*row, error);
            ASSERT_TRUE(control) << error.size();
            control->setTag(i);
            fillRow(*control, i, looks[i % 4]);
            list->add(std::move(control));
        }
    }

    bool sawEvent(const std::wstring& event) {
        return platform::win32::pumpMessagesUntil(
            [&] { return std::find(events.begin(), events.end(), event) != events.end(); }, 5000ms);
    }

    common::rcc::ResourcePack pack;
    SkinResources resources{{}, &pack};
    ControlFactory factory;
    Window window;
    std::unique_ptr<win32::ToolkitWindow> host;
    std::vector<std::wstring> events;
};

} // namespace

TEST_F(ToolkitWin, TheMainWindowShowsOnTheDesktopAsItIsPainted) {
    const Bitmap screen = captureClient(host->hwnd());
    ASSERT_EQ(screen.width, window.clientSize().cx);
    EXPECT_TRUE(savePng(screen, testing_support::windowsPathOf(testArguments()[1])));

    // The first row's start button: the theme's green disc, left of its white triangle.
    const Rect start = window.find<List>(L"listVm")->at(0)->findByName(L"startBtn")->rect();
    const Point disc{start.left + 5, start.top + start.height() / 2};
    EXPECT_GT(green(pixelAt(screen, disc)), 120);
    EXPECT_GT(green(pixelAt(screen, disc)), red(pixelAt(screen, disc)) + 60);
    // The second row runs: its button is the red stop disc.
    const Rect stop = window.find<List>(L"listVm")->at(1)->findByName(L"startBtn")->rect();
    EXPECT_GT(red(pixelAt(screen, {stop.left + 5, stop.top + stop.height() / 2})), 150);
    // The screen shows exactly what the painter draws.
    const Bitmap painted = host->render();
    EXPECT_EQ(pixelAt(painted, disc) & 0xFFFFFF, pixelAt(screen, disc) & 0xFFFFFF);
}

TEST_F(ToolkitWin, MouseAndKeyboardMessagesBecomeToolkitEvents) {
    const Point add = centreOf(window.findControl(L"btnAddVm")->rect());
    PostMessageW(host->hwnd(), WM_MOUSEMOVE, 0, clientPoint(add));
    PostMessageW(host->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(add));
    PostMessageW(host->hwnd(), WM_LBUTTONUP, 0, clientPoint(add));
    EXPECT_TRUE(sawEvent(L"click:btnAddVm"));

    PostMessageW(host->hwnd(), WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(sawEvent(L"setfocus:searchBtn")); // the next control after the clicked one

    auto* list = window.find<List>(L"listVm");
    const int expected = std::min(60, list->scrollRange()); // one notch is one row, within the range
    ASSERT_GT(expected, 0);
    POINT wheelAt{centreOf(list->rect()).x, centreOf(list->rect()).y};
    ClientToScreen(host->hwnd(), &wheelAt);
    PostMessageW(host->hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(wheelAt.x, wheelAt.y));
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return list->scrollPos() == expected; }, 5000ms));

    PostMessageW(host->hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return !IsWindowVisible(host->hwnd()); }, 5000ms));
    EXPECT_FALSE(window.isOpen());
}

namespace {

// A click as the user makes it: move, press, release, at a control's centre.
void postClick(HWND hwnd, const Control& control) {
    const LPARAM at = clientPoint(centreOf(control.rect()));
    PostMessageW(hwnd, WM_MOUSEMOVE, 0, at);
    PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(hwnd, WM_LBUTTONUP, 0, at);
}

} // namespace

TEST_F(ToolkitWin, AMessageBoxDisablesItsOwnerUntilAButtonClosesIt) {
    bool confirmed = false;
    msg::MessageBoxWindow box(0, L"prompt", L"Stop this instance?");
    box.addButton(L"cancel", nullptr);
    box.addButton(L"confirm", [&] { confirmed = true; });
    box.setOnClose([&] { window.showOverlay(false); });
    window.showOverlay(true);
    ASSERT_TRUE(box.show(window, factory));
    win32::ToolkitWindow boxHost(*box.window(), resources);
    ASSERT_TRUE(boxHost.create(host->hwnd(), L"KVToolkitTestBox", L"", WS_POPUP | WS_BORDER));
    boxHost.showModal(host->hwnd());
    EXPECT_FALSE(IsWindowEnabled(host->hwnd()));
    ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return IsWindowVisible(boxHost.hwnd()) != FALSE; }, 5000ms));

    postClick(boxHost.hwnd(), *box.window()->findControl(L"msgbtn1"));
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return confirmed; }, 5000ms));
    EXPECT_FALSE(IsWindowVisible(boxHost.hwnd()));
    EXPECT_TRUE(IsWindowEnabled(host->hwnd()));
    EXPECT_FALSE(window.overlayShown());
}

TEST_F(ToolkitWin, APopupMenuCallsBackWithTheChosenCommandAndGoes) {
    RQMenuWnd menu(resources.read(RQMenuWnd::kSkinFile).value_or(""));
    menu.addItem(L"Start", L"run");
    menu.addItem(L"Settings", L"setup", false);
    std::wstring chosen;
    POINT at{40, 40};
    ClientToScreen(host->hwnd(), &at);
    ASSERT_TRUE(menu.popup({at.x, at.y}, window.scale(), [&](const std::wstring& command) { chosen = command; }));
    win32::ToolkitWindow menuHost(*menu.window(), resources);
    ASSERT_TRUE(menuHost.create(host->hwnd(), L"KVToolkitTestMenu", L"", WS_POPUP));
    menuHost.setCloseOnDeactivate(true);
    menuHost.moveTo(menu.position());
    ShowWindow(menuHost.hwnd(), SW_SHOW);
    ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return IsWindowVisible(menuHost.hwnd()) != FALSE; }, 5000ms));

    postClick(menuHost.hwnd(), *menu.window()->findControl(L"setup")); // disabled: nothing
    postClick(menuHost.hwnd(), *menu.window()->findControl(L"run"));
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return !chosen.empty(); }, 5000ms));
    EXPECT_EQ(chosen, L"run");
    EXPECT_FALSE(IsWindowVisible(menuHost.hwnd()));
    EXPECT_EQ(RQMenuWnd::openMenu(), nullptr);
}

TEST_F(ToolkitWin, AComboOpensItsListBelowItselfAndTheChosenItemIsSelected) {
    Window form;
    std::wstring error;
    ASSERT_TRUE(SkinParser(factory).parseWindow(R"(<Window size="300,200"><VerticalLayout padding="20,20,20,20">
        <Combo name="quitcombo" height="30" textcolor="#FFFFFFFF" textpadding="8,0,8,0"
               normalimage="file='common9\edit_bg_normal.png' corner='20,10,20,10'">
          <ListLabelElement text="Warn"/><ListLabelElement text="Quit"/><ListLabelElement text="Tray"/>
        </Combo><Control/></VerticalLayout></Window>)",
                                                form, error));
    std::vector<std::wstring> selected;
    form.addNotifier([&](const Notify& n) {
        if (n.type == events::kItemSelect) selected.push_back(dynamic_cast<Combo*>(n.sender)->selectedText());
    });
    win32::ToolkitWindow formHost(form, resources);
    ASSERT_TRUE(formHost.create(nullptr, L"KVToolkitTestForm", L"form"));
    ShowWindow(formHost.hwnd(), SW_SHOW);
    auto* combo = form.find<Combo>(L"quitcombo");
    postClick(formHost.hwnd(), *combo);
    HWND list = nullptr;
    ASSERT_TRUE(platform::win32::pumpMessagesUntil(
        [&] {
            list = FindWindowW(L"KVToolkitDropDown", nullptr);
            return list && IsWindowVisible(list);
        },
        5000ms));
    RECT listRect{};
    GetWindowRect(list, &listRect);
    POINT comboBottom{combo->rect().left, combo->rect().bottom};
    ClientToScreen(formHost.hwnd(), &comboBottom);
    EXPECT_EQ(listRect.left, comboBottom.x);
    EXPECT_EQ(listRect.top, comboBottom.y);

    // The third row of the list, as the user clicks it.
    const LPARAM third = clientPoint({20, 2 + 2 * ComboDropDown::kItemHeight + ComboDropDown::kItemHeight / 2});
    PostMessageW(list, WM_MOUSEMOVE, 0, third);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, third);
    PostMessageW(list, WM_LBUTTONUP, 0, third);
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return !selected.empty(); }, 5000ms));
    EXPECT_EQ(selected, (std::vector<std::wstring>{L"Tray"}));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_FALSE(combo->dropped());
}

TEST_F(ToolkitWin, AtScaleOneAndAHalfEverythingGrowsTogether) {
    Window large;
    ASSERT_NO_FATAL_FAILURE(fill(large, 4));
    large.setScale(1.5);
    win32::ToolkitWindow largeHost(large, resources);
    ASSERT_TRUE(largeHost.create(nullptr, L"KVToolkitTestFrame", L"kvmulti toolkit 150"));
    SetWindowPos(largeHost.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    ASSERT_TRUE(platform::win32::pumpMessagesUntil(
        [&] { return IsWindowVisible(largeHost.hwnd()) && !GetUpdateRect(largeHost.hwnd(), nullptr, FALSE); }, 5000ms));
    EXPECT_EQ(large.clientSize(), (Size{1140, 840}));
    const Rect start = large.find<List>(L"listVm")->at(0)->findByName(L"startBtn")->rect();
    EXPECT_EQ(start.width(), 42);
    const Bitmap screen = captureClient(largeHost.hwnd());
    const Point disc{start.left + 7, start.top + start.height() / 2};
    EXPECT_GT(green(pixelAt(screen, disc)), red(pixelAt(screen, disc)) + 60);
    auto file = testing_support::windowsPathOf(testArguments()[1]);
    file.replace_filename(file.stem().string() + "-150.png");
    EXPECT_TRUE(savePng(screen, file));
}

namespace {

// The text of this process's tooltip window that shows (empty: none shows) and its screen rectangle.
std::wstring shownTooltip(RECT* rect = nullptr) {
    for (HWND tip = nullptr; (tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr));) {
        DWORD process = 0;
        GetWindowThreadProcessId(tip, &process);
        if (process != GetCurrentProcessId() || !IsWindowVisible(tip)) continue;
        wchar_t text[256]{};
        GetWindowTextW(tip, text, 256);
        if (rect) GetWindowRect(tip, rect);
        return text;
    }
    return {};
}

} // namespace

TEST_F(ToolkitWin, ATooltipShowsAfterTheHoverDelayBelowTheCursorAndGoesOnMoveOffClickAndHide) {
    SetWindowPos(host->hwnd(), HWND_TOP, 120, 90, 0, 0, SWP_NOSIZE); // client and screen points differ
    Control* row = window.find<List>(L"listVm")->at(0);
    Control* start = row->findByName(L"startBtn");
    start->setTooltip(L"<c ffdd00>Start</c> KVPlayer");
    Control* status = row->findByName(L"labelStatus");
    status->setTooltip(L"Stopped");
    POINT cursor{};
    const auto restOn = [&](const Control* control) {
        const Point p = centreOf(control->rect());
        cursor = {p.x, p.y};
        ClientToScreen(host->hwnd(), &cursor);
        SetCursorPos(cursor.x, cursor.y);
        PostMessageW(host->hwnd(), WM_MOUSEMOVE, 0, clientPoint(p));
    };
    const auto tipIs = [](std::wstring_view text) {
        return platform::win32::pumpMessagesUntil([&] { return shownTooltip() == text; }, 5000ms);
    };

    restOn(start);
    ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return window.hotControl() == start; }, 5000ms));
    EXPECT_EQ(shownTooltip(), L"") << "no tip before the hover delay";
    ASSERT_TRUE(tipIs(L"Start KVPlayer"));
    RECT tip{};
    shownTooltip(&tip);
    EXPECT_NEAR(tip.left, cursor.x, 32);
    EXPECT_TRUE(tip.top > cursor.y && tip.top < cursor.y + 48) << tip.top << " for the cursor at " << cursor.y;

    restOn(status); // a label takes no clicks but has a tooltip
    EXPECT_TRUE(tipIs(L"Stopped"));
    restOn(window.findControl(L"btnAddVm"));
    EXPECT_TRUE(tipIs(L""));
    restOn(start);
    ASSERT_TRUE(tipIs(L"Start KVPlayer"));
    PostMessageW(host->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, clientPoint(centreOf(start->rect())));
    EXPECT_TRUE(tipIs(L""));
    PostMessageW(host->hwnd(), WM_LBUTTONUP, 0, clientPoint(centreOf(start->rect())));

    restOn(status);
    ASSERT_TRUE(tipIs(L"Stopped"));
    ShowWindow(host->hwnd(), SW_HIDE);
    EXPECT_EQ(shownTooltip(), L"");
}

namespace {

// Read here as another program would, not through the host.
std::wstring clipboardText() {
    if (!OpenClipboard(nullptr)) return L"<busy>";
    std::wstring text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (const auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
        text = chars;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// The host reads Ctrl with GetKeyState, which follows this thread's key state; posted key messages leave it
// alone, so the test sets it.
void holdCtrl(bool down) {
    BYTE keys[256]{};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

} // namespace

TEST_F(ToolkitWin, AnEditTypesAndCopiesAndPastesThroughTheSystemClipboard) {
    Window form;
    std::wstring error;
    ASSERT_TRUE(SkinParser(factory).parseWindow(R"(<Window size="300,80"><VerticalLayout padding="20,20,20,20">
        <Edit name="editName" height="30" textcolor="#FFFFFFFF" textpadding="6,0,6,0"/></VerticalLayout></Window>)",
                                                form, error));
    win32::ToolkitWindow formHost(form, resources);
    ASSERT_TRUE(formHost.create(nullptr, L"KVToolkitTestForm", L"form"));
    ShowWindow(formHost.hwnd(), SW_SHOW);
    auto* edit = form.find<Edit>(L"editName");
    postClick(formHost.hwnd(), *edit);
    ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return form.focus() == edit; }, 5000ms));
    for (const wchar_t c : std::wstring_view(L"KVPlayer 2")) PostMessageW(formHost.hwnd(), WM_CHAR, c, 1);
    ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return edit->text() == L"KVPlayer 2"; }, 5000ms));

    holdCtrl(true);
    PostMessageW(formHost.hwnd(), WM_KEYDOWN, 'A', 1);
    PostMessageW(formHost.hwnd(), WM_CHAR, 0x01, 1); // what TranslateMessage makes of Ctrl+A
    PostMessageW(formHost.hwnd(), WM_KEYDOWN, 'C', 1);
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return clipboardText() == L"KVPlayer 2"; }, 5000ms))
        << "clipboard: " << clipboardText().size() << " characters";

    win32::Win32Clipboard(host->hwnd()).setText(L"Game farm\r\n"); // its writing was read back above
    PostMessageW(formHost.hwnd(), WM_KEYDOWN, 'A', 1);
    PostMessageW(formHost.hwnd(), WM_KEYDOWN, 'V', 1);
    PostMessageW(formHost.hwnd(), WM_CHAR, 0x16, 1);
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return edit->text() == L"Game farm"; }, 5000ms))
        << edit->text().size();
    holdCtrl(false);
}
