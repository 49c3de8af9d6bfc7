// The list a user works in, on kvmulti.exe driven from another process through Active Accessibility
// (kvacc.exe) and typed keys: a new group, a group collapsed that comes up collapsed after a restart, a
// search by index, and select-all bringing the batch bar.

#include <windows.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "WinTestMain.h"
#include "support/ManagerInstall_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::arg;
using testing_support::ChildProcess;
using testing_support::installLine;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

// Instance ids of line 14 carry 10 in their high byte.
constexpr int kId14 = 10 << 24;

class ListWin : public testing::Test {
protected:
    testing_support::WinTempDir root;
    std::filesystem::path program = root.path() / "program";
    ChildProcess manager;
    HWND window = nullptr;

    void SetUp() override {
        ASSERT_GE(testArguments().size(), 2u) << "pass kvmulti.exe and the stand-in folder";
        std::filesystem::create_directories(program / "data");
        for (const char* file : {"kvmulti.exe", "kvacc.exe", "rqresource.rcc"})
            std::filesystem::copy_file(arg(0).parent_path() / file, program / file);
        std::filesystem::copy(arg(0).parent_path() / "fonts", program / "fonts");
        installLine(root.path() / "Android14", L"14", 4);
        writeText(program / "pathconfig.ini", "[setting]\r\nplayer14=" + (root.path() / "Android14").string() + "\r\n");
    }
    void TearDown() override { stop(); }
    void start() {
        ASSERT_TRUE(manager.start(program / "kvmulti.exe"));
        window = manager.waitForWindow(L"KVRemoteLoginFrame", 30s);
        ASSERT_NE(window, nullptr);
    }
    void stop() {
        if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        window = nullptr;
        manager.waitForExit(20s);
    }
    testing_support::CapturedRun kvacc(const std::wstring& arguments) {
        return testing_support::runCaptured(program / "kvacc.exe", arguments);
    }
    // The accessible names of the list's rows as the window shows them now.
    std::vector<std::string> rows() {
        const auto run = kvacc(L"list --class KVRemoteLoginFrame");
        rapidjson::Document doc;
        doc.Parse(run.output.c_str());
        std::vector<std::string> names;
        if (doc.HasParseError() || !doc.IsArray() || doc.Empty()) return names;
        std::vector<const rapidjson::Value*> pending{&doc[0]["tree"]};
        while (!pending.empty()) {
            const rapidjson::Value* node = pending.back();
            pending.pop_back();
            if (node->HasMember("help") && std::string((*node)["help"].GetString()) == "listVm") {
                if (node->HasMember("children"))
                    for (const auto& row : (*node)["children"].GetArray())
                        names.push_back(row.HasMember("name") ? row["name"].GetString() : "");
                return names;
            }
            if (node->HasMember("children"))
                for (const auto& child : (*node)["children"].GetArray()) pending.push_back(&child);
        }
        return names;
    }
    bool rowsBecome(const std::vector<std::string>& expected) {
        return waitUntil([&] { return rows() == expected; }, 20s);
    }
    bool press(const std::wstring& what) { return kvacc(L"press " + what).exitCode == 0; }
};

TEST_F(ListWin, ACollapsedGroupComesUpCollapsedAfterARestartAndANewGroupIsKept) {
    // Two instances already in the group "Farm"; moving them in is the instance menu's.
    writeText(program / "data" / "groupsV2", "\r\nvantor14\r\nFarm|" + std::to_string(kId14 + 1) + "|" +
                                                 std::to_string(kId14 + 2) +
                                                 "||left=0|top=0|width=0|height=0|expand=1\r\nvantor9\r\n"
                                                 "vantor5_32\r\nvantor5_64\r\nvantor3");
    start();
    ASSERT_TRUE(rowsBecome({"Farm", "demo 1", "demo 2", "demo 0", "demo 3"})) << testing::PrintToString(rows());
    ASSERT_TRUE(press(L"addGroupBtn"));
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 6; }, 20s)) << testing::PrintToString(rows());
    ASSERT_TRUE(press(L"groupExpandBtn --row 0"));
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 4; }, 20s)) << testing::PrintToString(rows());

    stop();
    start();
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 4; }, 20s)) << testing::PrintToString(rows());
    EXPECT_EQ(rows()[0], "Farm");
    EXPECT_EQ(rows()[2], "demo 0") << "Farm's members stay hidden";
}

TEST_F(ListWin, SearchingByIndexListsThatInstanceAndSelectAllBringsTheBatchBar) {
    start();
    ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2", "demo 3"}));
    ASSERT_TRUE(press(L"searchBtn"));
    PostMessageW(window, WM_CHAR, L'2', 1);
    EXPECT_TRUE(rowsBecome({"demo 2"})) << testing::PrintToString(rows());
    ASSERT_TRUE(press(L"searchClearBtn"));
    ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2", "demo 3"}));

    ASSERT_TRUE(press(L"btnSelAllHover"));
    std::string count;
    EXPECT_TRUE(waitUntil([&] { return (count = kvacc(L"get btnSelAll").output).find('4') != std::string::npos; }))
        << count;
    EXPECT_EQ(kvacc(L"get btnBatchLaunch").exitCode, 0u) << "the batch bar shows";
    EXPECT_NE(kvacc(L"get btnAddVm").exitCode, 0u) << "in place of the add button";
}

} // namespace
