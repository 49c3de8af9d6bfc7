// New instances and copies through the add and copy dialogs of kvmulti.exe, driven from another process
// through Active Accessibility (kvacc.exe) and typed keys, on line 14 with the stand-in and small template
// disks: two instances added from the add menu, then one of them copied twice from its instance menu.

#include <windows.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <optional>

#include "WinTestMain.h"
#include "core/product/ProductLine.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::installLine;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

constexpr const char* kCarried[] = {"advancedSettings.resolution", "advancedSettings.resolutionDpi",
                                    "advancedSettings.cpuCount",   "advancedSettings.memorySize",
                                    "basicSettings.vMemUsage",     "basicSettings.fps"};

class AddCopyWin : public testing_support::ManagerWin {
protected:
    void SetUp() override {
        prepareProgram();
        installLine(line14, L"14", 0);
        // The templates new instances are made of; a few kilobytes stand for the gigabytes.
        for (const char* disk : {"data.vdi", "data-3G.vdi"}) writeText(line14 / disk, std::string(64 * 1024, 'd'));
        startManager();
    }
    void TearDown() override { closeManager(); }

    // The dialog's count edit takes the focus and the number is typed over its text.
    void typeCount(const wchar_t* dialogClass, wchar_t digit) {
        const HWND dialog = waitForClass(dialogClass);
        ASSERT_NE(dialog, nullptr);
        const std::wstring in = std::wstring(L" --class ") + dialogClass;
        const auto focus = kvacc(L"focus numEdit" + in);
        ASSERT_EQ(focus.exitCode, 0u) << focus.output;
        for (WPARAM key : {VK_END, VK_BACK, VK_BACK, VK_BACK, VK_BACK}) PostMessageW(dialog, WM_KEYDOWN, key, 1);
        PostMessageW(dialog, WM_CHAR, digit, 1);
        std::string text;
        ASSERT_TRUE(waitUntil(
            [&] { return (text = kvacc(L"get numEdit" + in).output) == std::string(1, char(digit)) + "\n"; }, 10s))
            << text;
    }
    std::size_t rowCount() {
        const auto run = kvacc(L"list --class KVRemoteLoginFrame");
        rapidjson::Document doc;
        doc.Parse(run.output.c_str());
        if (doc.HasParseError() || !doc.IsArray() || doc.Empty()) return 0;
        std::vector<const rapidjson::Value*> pending{&doc[0]["tree"]};
        while (!pending.empty()) {
            const rapidjson::Value* node = pending.back();
            pending.pop_back();
            if (node->HasMember("help") && std::string((*node)["help"].GetString()) == "listVm")
                return node->HasMember("children") ? (*node)["children"].GetArray().Size() : 0;
            if (node->HasMember("children"))
                for (const auto& child : (*node)["children"].GetArray()) pending.push_back(&child);
        }
        return 0;
    }
    // The screen rectangle of a control, from the accessible tree.
    std::optional<RECT> locationOf(const wchar_t* className, const std::string& control) {
        const auto run = kvacc(std::wstring(L"list --class ") + className);
        rapidjson::Document doc;
        doc.Parse(run.output.c_str());
        if (doc.HasParseError() || !doc.IsArray() || doc.Empty()) return std::nullopt;
        std::vector<const rapidjson::Value*> pending{&doc[0]["tree"]};
        while (!pending.empty()) {
            const rapidjson::Value* node = pending.back();
            pending.pop_back();
            if (node->HasMember("help") && (*node)["help"].GetString() == control && node->HasMember("location")) {
                const auto& l = (*node)["location"];
                // left, top, width, height
                return RECT{l[0].GetInt(), l[1].GetInt(), l[0].GetInt() + l[2].GetInt(), l[1].GetInt() + l[3].GetInt()};
            }
            if (node->HasMember("children"))
                for (const auto& child : (*node)["children"].GetArray()) pending.push_back(&child);
        }
        return std::nullopt;
    }
    // The real pointer moves (Xvfb's): a posted move alone would end at once in the leave the window
    // asks for while the pointer is elsewhere.
    static void moveMouse(HWND hwnd, POINT screen) {
        SetCursorPos(screen.x, screen.y);
        ScreenToClient(hwnd, &screen);
        PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(screen.x, screen.y));
    }
    std::filesystem::path configOf(int index) {
        return line14 / "vms" / "config" / ("vantor" + std::to_string(index) + ".config");
    }
    rapidjson::Document config(int index) {
        rapidjson::Document doc;
        doc.Parse(testing_support::readFile(configOf(index)).c_str());
        return doc;
    }
    // Every row shows "Not running": the creates and copies have ended.
    bool allNotRunning(std::size_t rows, std::string& statuses) {
        statuses.clear();
        for (std::size_t row = 0; row < rows; ++row)
            statuses += kvacc(L"get labelStatus --row " + std::to_wstring(row)).output;
        std::string expected;
        for (std::size_t row = 0; row < rows; ++row) expected += "Not running\n";
        return statuses == expected;
    }
};

TEST_F(AddCopyWin, TwoInstancesAddedFromTheAddMenuThenOneCopiedTwiceCarryingItsSettings) {
    ASSERT_TRUE(press(L"btnAddVm"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"MENU_ADD"));
    typeCount(L"KVAddPlayerFrame", L'2');
    // The help button's tip shows beside it while the mouse is over it, without taking the activation.
    const HWND addDialog = FindWindowW(L"KVAddPlayerFrame", nullptr);
    const std::optional<RECT> help = locationOf(L"KVAddPlayerFrame", "helpBtn");
    ASSERT_TRUE(help);
    moveMouse(addDialog, {(help->left + help->right) / 2, (help->top + help->bottom) / 2});
    HWND tip = nullptr;
    EXPECT_TRUE(waitUntil([&] { return (tip = FindWindowW(L"kvmousetip", nullptr)) && IsWindowVisible(tip); }, 10s));
    if (tip) {
        RECT r{};
        GetWindowRect(tip, &r);
        EXPECT_GE(r.left, help->right) << "beside the button";
        EXPECT_EQ(GetWindow(tip, GW_OWNER), addDialog);
    }
    RECT dialogRect{};
    GetWindowRect(addDialog, &dialogRect);
    moveMouse(addDialog, {dialogRect.left + 4, dialogRect.top + 4});
    EXPECT_TRUE(waitUntil([&] { return tip && !IsWindowVisible(tip); }, 10s)) << "hidden once the mouse left";
    ASSERT_TRUE(pressIn(L"KVAddPlayerFrame", L"product14Btn"));
    ASSERT_TRUE(pressIn(L"KVAddPlayerFrame", L"performanceMultiBtn"));
    ASSERT_TRUE(pressIn(L"KVAddPlayerFrame", L"sureBtn"));

    EXPECT_TRUE(waitUntil([&] { return rowCount() == 2; }, 30s)) << rowCount();
    std::string statuses;
    EXPECT_TRUE(waitUntil([&] { return allNotRunning(2, statuses); }, 30s)) << statuses;
    for (int index : {0, 1}) {
        EXPECT_TRUE(std::filesystem::exists(line14 / "vms" / ("vantor" + std::to_string(index)) / "data.vdi")) << index;
        const rapidjson::Document doc = config(index);
        ASSERT_TRUE(doc.IsObject()) << index;
        ASSERT_TRUE(doc.HasMember("basicSettings.vMemUsage")) << "the Multi mode" << index;
        EXPECT_EQ(doc["basicSettings.vMemUsage"].GetInt(), 2) << index;
    }

    ASSERT_TRUE(press(L"moreBtn --row 0"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"copy"));
    typeCount(L"KVCopyPlayerFrame", L'2');
    ASSERT_TRUE(pressIn(L"KVCopyPlayerFrame", L"sureBtn"));

    EXPECT_TRUE(waitUntil([&] { return rowCount() == 4; }, 30s)) << rowCount();
    EXPECT_TRUE(waitUntil([&] { return allNotRunning(4, statuses); }, 30s)) << statuses;
    const rapidjson::Document source = config(0);
    for (int index : {2, 3}) {
        ASSERT_TRUE(std::filesystem::exists(configOf(index))) << index;
        const rapidjson::Document copy = config(index);
        ASSERT_TRUE(copy.IsObject()) << index;
        for (const char* key : kCarried) {
            if (!source.HasMember(key)) continue;
            EXPECT_TRUE(copy.HasMember(key) && copy[key] == source[key]) << key << " of " << index;
        }
    }
}

} // namespace
