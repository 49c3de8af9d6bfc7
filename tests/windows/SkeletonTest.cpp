// kvmulti.exe from the outside: started, its window found, closed as a user would close it, its log read.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "WinTestMain.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::ChildProcess;
using testing_support::readFile;

namespace {

std::filesystem::path builtProgram() {
    if (testArguments().empty()) return {};
    return testing_support::windowsPathOf(testArguments()[0]);
}

} // namespace

TEST(Skeleton, ShowsItsWindowAndOnCloseLogsTheEndAndExitsWithOne) {
    ASSERT_FALSE(builtProgram().empty()) << "pass the path of kvmulti.exe";
    testing_support::WinTempDir folder; // the log goes below the program's own folder
    const auto exe = folder.path() / "kvmulti.exe";
    std::filesystem::copy_file(builtProgram(), exe);

    ChildProcess manager;
    ASSERT_TRUE(manager.start(exe));
    HWND window = manager.waitForWindow(L"KVMultiMainFrame", 30s);
    ASSERT_NE(window, nullptr) << "no visible main window";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(manager.waitForExit(30s), 1u);

    const std::string log = readFile(folder.path() / "log" / "multis.log");
    const std::regex start(R"(\d\d-\d\d\t\d\d:\d\d:\d\d\.\d{3}\t\d{4,}\tKVMultiImpl::entrance\t\(\d+\):)"
                           "\r\n\r\n\\*{12} kvmulti start \\*{12}\r\n");
    EXPECT_TRUE(std::regex_search(log, start)) << log;
    const std::regex end(R"(\tKVMultiImpl::entrance\t\(\d+\):\*{23} kv end \*{16}\r\n$)");
    EXPECT_TRUE(std::regex_search(log, end)) << log;
}
