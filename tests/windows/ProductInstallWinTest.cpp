// A line that is not installed, downloaded and installed by kvmulti.exe from a local server and driven from
// another process through kvacc.exe: the add dialog asks for two instances of line 7.1 (32-bit), the product
// row shows the download's progress while the package is held halfway, the stand-in installer installs the
// line, the row goes and the two instances are created. And a slow download stopped from its row.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "WinTestMain.h"
#include "core/install/InstallPackages.h"
#include "core/install/Sha256.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/TestHttpServer.h"

using namespace std::chrono_literals;
using testing_support::waitUntil;

namespace {

class ProductInstallWin : public testing_support::ManagerWin {
protected:
    testing_support::TestHttpServer server;
    std::filesystem::path line0 = root.path() / "Android71";

    void SetUp() override {
        prepareProgram();
        testing_support::installLine(line14, L"14", 0);
        const std::string installer = testing_support::readFile(testing_support::arg(1) / "5" / "kvsetup.exe");
        ASSERT_FALSE(installer.empty());
        const install::PackageInfo& package = install::packageInfo(KV_PRODUCT_71_32);
        server.serve(std::string(install::kDocumentPath),
                     {R"({"mnq5":{"sha256":")" + install::sha256OfBytes(installer) + R"("}})"});
        server.serve(std::string(package.packagePath),
                     {installer, 200, testing_support::Behaviour::Gated, installer.size() / 2});
        testing_support::writeText(program / "servers.ini", "[servers]\r\nresource=" + server.url("") +
                                                                "\r\ndownload=" + server.url("") + "\r\n");
        startManager();
    }
    void TearDown() override {
        server.releaseGate();
        closeManager();
    }

    // Two instances of line 0 asked for in the add dialog; the line is not installed.
    void addTwoOfLine0() {
        ASSERT_TRUE(press(L"btnAddVm"));
        ASSERT_TRUE(pressIn(L"KVMultiMenu", L"MENU_ADD"));
        ASSERT_TRUE(pressIn(L"KVAddPlayerFrame", L"product5Btn"));
        const HWND dialog = waitForClass(L"KVAddPlayerFrame");
        ASSERT_EQ(kvacc(L"focus numEdit --class KVAddPlayerFrame").exitCode, 0u);
        for (WPARAM key : {VK_END, VK_BACK, VK_BACK, VK_BACK}) PostMessageW(dialog, WM_KEYDOWN, key, 1);
        PostMessageW(dialog, WM_CHAR, L'2', 1);
        ASSERT_TRUE(waitUntil([&] { return kvacc(L"get numEdit --class KVAddPlayerFrame").output == "2\n"; }, 10s));
        ASSERT_TRUE(pressIn(L"KVAddPlayerFrame", L"sureBtn"));
    }
    bool packageRequested() {
        for (const auto& request : server.requests())
            if (request.target == install::packageInfo(KV_PRODUCT_71_32).packagePath) return true;
        return false;
    }
    int productRowProgress() {
        const auto run = kvacc(L"get progressbar --row 0 --class KVRemoteLoginFrame");
        return run.exitCode == 0 ? std::atoi(run.output.c_str()) : -1;
    }
    std::string log() { return testing_support::readFile(program / "log" / "multis.log"); }
    static std::string tail(const std::string& text) {
        return text.substr(text.size() > 4000 ? text.size() - 4000 : 0);
    }
};

TEST_F(ProductInstallWin, AMissingLineIsDownloadedInstalledAndItsInstancesCreated) {
    addTwoOfLine0();
    ASSERT_TRUE(waitUntil([&] { return rows().size() == 1 && rows()[0].find("KVPlayer") != std::string::npos; }, 20s))
        << "the list switched to line 0 with its product row";
    int seen = -1;
    EXPECT_TRUE(waitUntil([&] { return (seen = productRowProgress()) > 0; }, 30s))
        << "the download's progress shows while the package is held at its half; last " << seen;
    EXPECT_LT(seen, 100);
    server.releaseGate();

    const auto status = [&](int row) { return kvacc(L"get labelStatus --row " + std::to_wstring(row)).output; };
    ASSERT_TRUE(waitUntil(
        [&] { return rows().size() == 2 && status(0) == "Not running\n" && status(1) == "Not running\n"; }, 120s))
        << "the row went and two instances were created; the manager's log ends:\n"
        << tail(log());
    EXPECT_TRUE(std::filesystem::exists(line0 / "rqplayer.exe"));
    EXPECT_TRUE(std::filesystem::exists(line0 / "vms" / "config" / "vantor1.config"));
    EXPECT_TRUE(std::filesystem::exists(program / "KVPlayer32.exe"));
    EXPECT_FALSE(std::filesystem::exists(program / "KVPlayer32.exe.tmp"));
    // Re-discovery names the new folder (start-up wrote a "32 path" line of its own before).
    const std::string found = "KVMultiMainFrame::onPlayerInstalled";
    std::string text;
    EXPECT_TRUE(waitUntil([&] { return (text = log()).find(found) != std::string::npos; }, 10s));
    const auto at = text.find(found);
    ASSERT_NE(at, std::string::npos);
    const std::string line = text.substr(at, text.find('\n', at) - at);
    EXPECT_NE(line.find("32 path " + line0.string()), std::string::npos) << line;
    EXPECT_NE(text.find("installer sha256 matches"), std::string::npos);
}

TEST_F(ProductInstallWin, AStoppedDownloadLeavesNoRowAndNothingInstalled) {
    addTwoOfLine0();
    ASSERT_TRUE(waitUntil([&] { return packageRequested(); }, 30s));
    ASSERT_TRUE(waitUntil([&] { return press(L"stopDownloadBtn --row 0 --class KVRemoteLoginFrame"); }, 20s));
    ASSERT_TRUE(pressIn(L"KVMultiMessageBox", L"msgbtn1")); // confirm
    EXPECT_TRUE(waitUntil([&] { return rows().empty(); }, 20s)) << "back on line 14, which has no instances";
    EXPECT_FALSE(std::filesystem::exists(line0 / "rqplayer.exe"));
    // Install state 0: the window closes without asking about a download.
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(window); }, 20s));
}

} // namespace
