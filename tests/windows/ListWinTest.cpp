// The list a user works in, on kvmulti.exe driven from another process through Active Accessibility
// (kvacc.exe) and typed keys: a new group, a group collapsed that comes up collapsed after a restart, a
// search by index, and select-all bringing the batch bar.

#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestMain.h"
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

// Instance ids of line 14 carry 10 in their high byte.
constexpr int kId14 = 10 << 24;

class ListWin : public testing_support::ManagerWin {
protected:
    void SetUp() override {
        prepareProgram();
        installLine(line14, L"14", 4);
    }
    void TearDown() override { closeManager(); }
};

TEST_F(ListWin, ACollapsedGroupComesUpCollapsedAfterARestartAndANewGroupIsKept) {
    // Two instances already in the group "Farm"; moving them in is the instance menu's.
    writeText(program / "data" / "groupsV2", "\r\nvantor14\r\nFarm|" + std::to_string(kId14 + 1) + "|" +
                                                 std::to_string(kId14 + 2) +
                                                 "||left=0|top=0|width=0|height=0|expand=1\r\nvantor9\r\n"
                                                 "vantor5_32\r\nvantor5_64\r\nvantor3");
    ASSERT_NO_FATAL_FAILURE(startManager());
    ASSERT_TRUE(rowsBecome({"Farm", "demo 1", "demo 2", "demo 0", "demo 3"})) << testing::PrintToString(rows());
    ASSERT_TRUE(press(L"addGroupBtn"));
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 6; }, 20s)) << testing::PrintToString(rows());
    ASSERT_TRUE(press(L"groupExpandBtn --row 0"));
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 4; }, 20s)) << testing::PrintToString(rows());

    closeManager();
    ASSERT_NO_FATAL_FAILURE(startManager());
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 4; }, 20s)) << testing::PrintToString(rows());
    EXPECT_EQ(rows()[0], "Farm");
    EXPECT_EQ(rows()[2], "demo 0") << "Farm's members stay hidden";
}

TEST_F(ListWin, SearchingByIndexListsThatInstanceAndSelectAllBringsTheBatchBar) {
    ASSERT_NO_FATAL_FAILURE(startManager());
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
