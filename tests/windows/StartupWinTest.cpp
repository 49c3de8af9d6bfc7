// kvmulti.exe from the outside: started on a small installation, its window found, closed as a user would
// close it, its log and files read.

#include <windows.h>

#include <gtest/gtest.h>

#include <regex>

#include "WinTestMain.h"
#include "platform/win32/dispatch/MessagePump_win.h"
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

TEST(Startup, ShowsItsWindowAndOnCloseLogsTheEndAndExitsWithOne) {
    ASSERT_FALSE(builtProgram().empty()) << "pass the path of kvmulti.exe";
    testing_support::WinTempDir folder; // the log goes below the program's own folder
    const auto exe = folder.path() / "kvmulti.exe";
    std::filesystem::copy_file(builtProgram(), exe);
    std::filesystem::copy_file(builtProgram().parent_path() / "rqresource.rcc", folder.path() / "rqresource.rcc");
    std::filesystem::copy(builtProgram().parent_path() / "fonts", folder.path() / "fonts");

    ChildProcess manager;
    ASSERT_TRUE(manager.start(exe));
    HWND window = manager.waitForWindow(L"KVRemoteLoginFrame", 30s);
    ASSERT_NE(window, nullptr) << "no visible main window";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(manager.waitForExit(30s), 1u);

    const std::string log = readFile(folder.path() / "log" / "multis.log");
    const std::regex start(R"(\d\d-\d\d\t\d\d:\d\d:\d\d\.\d{3}\t\d{4,}\tKVMultiImpl::entrance\t\(\d+\):)"
                           "\r\n\r\n\\*{12} kvmulti start \\*{12}\r\n");
    EXPECT_TRUE(std::regex_search(log, start)) << log;
    const std::regex end(R"(\tKVMultiImpl::entrance\t\(\d+\):\*{23} kv end \*{16}\r\n)"
                         R"(.*close mutex\r\n.*exit 3\r\n.*exit 4\r\n$)");
    EXPECT_TRUE(std::regex_search(log, end)) << log;
    EXPECT_NE(log.find("load Roboto fonts ret: 1  error:"), std::string::npos) << "the shipped font is added";
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(FindResourceW(image, MAKEINTRESOURCEW(107), MAKEINTRESOURCEW(14)), nullptr) << "the icon group 107";
    HANDLE icon = LoadImageW(image, MAKEINTRESOURCEW(107), IMAGE_ICON, 32, 32, 0);
    EXPECT_NE(icon, nullptr) << "a 32-pixel image of the program's icon";
    if (icon) DestroyIcon(static_cast<HICON>(icon));
    FreeLibrary(image);
}

TEST(Startup, ASecondManagerTouchesNoFileAsksTheFirstToShowItselfAndExitsWithOne) {
    testing_support::WinTempDir folder;
    const auto exe = folder.path() / "kvmulti.exe";
    std::filesystem::copy_file(builtProgram(), exe);
    std::filesystem::copy_file(builtProgram().parent_path() / "rqresource.rcc", folder.path() / "rqresource.rcc");
    ChildProcess first;
    ASSERT_TRUE(first.start(exe));
    HWND window = first.waitForWindow(L"KVRemoteLoginFrame", 30s);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(platform::win32::pumpMessagesUntil([&] { return IsIconic(window) != 0; }, 10s));

    // The installer leaves a first-run marker for the manager that runs; a second start must not take it.
    testing_support::writeFile(folder.path() / "vms" / "firstrun", "");
    ChildProcess second;
    ASSERT_TRUE(second.start(exe));
    EXPECT_EQ(second.waitForExit(30s), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "vms" / "firstrun")) << "the second start wrote nothing";
    EXPECT_TRUE(platform::win32::pumpMessagesUntil([&] { return !IsIconic(window) && IsWindowVisible(window); }, 10s))
        << "the first manager shows its window again";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(first.waitForExit(30s), 1u);
    const std::string log = readFile(folder.path() / "log" / "multis.log");
    EXPECT_NE(log.find("process exist!"), std::string::npos) << log;
    EXPECT_NE(log.find("onHandleWindowIPC, msg = 9111"), std::string::npos) << log;
}

TEST(Startup, FindsTheInstallFromPathconfigMigratesAnOldUserAndSavesTheGroupsOnClose) {
    testing_support::WinTempDir folder;
    const auto program = folder.path() / "program";
    const auto android9 = folder.path() / "Android9";
    std::filesystem::create_directories(program / "vms");
    std::filesystem::copy_file(builtProgram(), program / "kvmulti.exe");
    std::filesystem::copy_file(builtProgram().parent_path() / "rqresource.rcc", program / "rqresource.rcc");
    testing_support::writeFile(program / "vms" / "oldrun103", "");
    testing_support::writeFile(program / "vms" / "config" / "vantors.config", R"({"moreScreenSortInSame": true})");
    std::filesystem::create_directories(android9 / "vms" / "vantor0");
    std::filesystem::copy_file(builtProgram().parent_path().parent_path() / "standin" / "9" / "rqplayer.exe",
                               android9 / "rqplayer.exe");
    testing_support::writeFile(program / "pathconfig.ini", "[setting]\r\nplayer9=" + android9.string() + "\r\n");

    ChildProcess manager;
    ASSERT_TRUE(manager.start(program / "kvmulti.exe"));
    HWND window = manager.waitForWindow(L"KVRemoteLoginFrame", 30s);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(manager.waitForExit(30s), 1u);

    const std::string log = readFile(program / "log" / "multis.log");
    EXPECT_NE(log.find("path9 " + android9.string() + " path3"), std::string::npos) << log;
    EXPECT_NE(log.find("it is old user: 1"), std::string::npos) << log;
    EXPECT_FALSE(std::filesystem::exists(program / "vms" / "oldrun103"));
    EXPECT_NE(readFile(program / "vms" / "config" / "vantors.config").find("\"moreScreenSortInSame\": false"),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(program / "data" / "groupsV2")) << "the groups are saved at shutdown";
}
