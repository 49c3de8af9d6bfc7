// kvmctl.exe run as a script runs it, on an installation of line 14 with the stand-in emulator: the list
// against the files, a small farm created, cloned, renamed, backed up, restored and removed, starts with an
// interval, two consoles cloning at once, a busy instance, and a create that an open manager's list follows.

#include <windows.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <algorithm>
#include <thread>

#include "WinTestMain.h"
#include "core/storage/Players.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::installLine;
using testing_support::writeText;

namespace {

constexpr int kId14 = 10 << 24;

struct Console {
    DWORD exit = STILL_ACTIVE;
    rapidjson::Document json;
    std::string output;
};

class ConsoleWin : public testing_support::ManagerWin {
protected:
    void SetUp() override {
        prepareProgram();
        for (const char* file : {"kvmctl.exe", "7za.exe"})
            std::filesystem::copy_file(testing_support::arg(0).parent_path() / file, program / file);
        installLine(line14, L"14", 3);
        for (const char* disk : {"data.vdi", "data-3G.vdi"}) writeText(line14 / disk, std::string(64 * 1024, 'd'));
    }
    void TearDown() override { closeManager(4); }

    // Progress goes to standard error before the reply: the reply is the text from the first line that
    // opens an object.
    Console ctl(const std::wstring& arguments) {
        Console c;
        const auto run = testing_support::runCaptured(program / "kvmctl.exe", arguments, 120s);
        c.exit = run.exitCode;
        c.output = run.output;
        const std::size_t brace = run.output.find("\n{");
        const std::size_t start = run.output.rfind('{', 0) == 0 || brace == std::string::npos ? 0 : brace + 1;
        c.json.Parse(run.output.c_str() + start);
        EXPECT_FALSE(c.json.HasParseError()) << run.output;
        return c;
    }
    std::vector<int> listedIds() {
        std::vector<int> ids;
        const Console c = ctl(L"list");
        if (c.json.IsObject() && c.json.HasMember("instances"))
            for (const auto& r : c.json["instances"].GetArray()) ids.push_back(r["id"].GetInt() - kId14);
        return ids;
    }
};

TEST_F(ConsoleWin, AFarmIsListedCreatedClonedRenamedBackedUpRestoredAndRemoved) {
    Console c = ctl(L"lines");
    ASSERT_EQ(c.exit, 0u) << c.output;
    const auto& line = c.json["lines"][4];
    EXPECT_TRUE(line["installed"].GetBool());
    EXPECT_EQ(std::filesystem::path(line["folder"].GetString()), line14);
    EXPECT_EQ(std::string(line["version"].GetString()).rfind("14.", 0), 0u);

    c = ctl(L"list --line player14");
    ASSERT_EQ(c.exit, 0u) << c.output;
    ASSERT_EQ(c.json["instances"].Size(), 3u);
    EXPECT_STREQ(c.json["instances"][1]["name"].GetString(), "demo 1") << "the name in vantor1.config";
    EXPECT_STREQ(c.json["instances"][1]["status"].GetString(), "stopped");

    c = ctl(L"create --line player14 --count 2 --resolution 720x1280 --dpi 320");
    ASSERT_EQ(c.exit, 0u) << c.output;
    EXPECT_NE(c.output.find("create " + std::to_string(kId14 + 3) + " "), std::string::npos) << "progress";
    c = ctl(L"clone player14:3 --count 3");
    ASSERT_EQ(c.exit, 0u) << c.output;
    EXPECT_EQ(listedIds(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    ASSERT_EQ(ctl(L"rename player14:5 \"night shift\"").exit, 0u);
    c = ctl(L"get player14:5 statusSettings.playerName advancedSettings.resolutionDpi");
    EXPECT_STREQ(c.json["settings"]["statusSettings.playerName"].GetString(), "night shift");
    EXPECT_EQ(c.json["settings"]["advancedSettings.resolutionDpi"].GetInt(), 320);

    const std::wstring archive = (root.path() / "five.kvbk").wstring();
    c = ctl(L"backup player14:5 \"" + archive + L"\"");
    ASSERT_EQ(c.exit, 0u) << c.output;
    ASSERT_EQ(ctl(L"set player14:5 advancedSettings.resolutionDpi=160").exit, 0u);
    c = ctl(L"restore player14:5 \"" + archive + L"\"");
    ASSERT_EQ(c.exit, 0u) << c.output;
    EXPECT_EQ(ctl(L"get player14:5 advancedSettings.resolutionDpi")
                  .json["settings"]["advancedSettings.resolutionDpi"]
                  .GetInt(),
              320)
        << "the backed-up configuration is back";

    c = ctl(L"remove player14:6 player14:7 --yes");
    ASSERT_EQ(c.exit, 0u) << c.output;
    EXPECT_FALSE(std::filesystem::exists(line14 / "vms" / "vantor7"));
    EXPECT_EQ(listedIds(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(ConsoleWin, TwoConsolesCloningAtOnceGetTheirOwnIndicesAndABusyInstanceIsRefused) {
    ASSERT_EQ(ctl(L"create --line player14").exit, 0u);
    Console first;
    Console second;
    std::thread other([&] { second = ctl(L"clone player14:3 --count 2"); });
    first = ctl(L"clone player14:3 --count 2");
    other.join();
    ASSERT_EQ(first.exit, 0u) << first.output;
    ASSERT_EQ(second.exit, 0u) << second.output;
    std::vector<int> made;
    for (const Console* c : {&first, &second})
        for (const auto& r : c->json["results"].GetArray()) made.push_back(r["id"].GetInt() - kId14);
    std::sort(made.begin(), made.end());
    EXPECT_EQ(made, (std::vector<int>{4, 5, 6, 7}));

    // This test holds instance 1 as another program working on it would.
    common::Players players(KV_PRODUCT_14);
    players.init(line14);
    const auto held = platform::tryTakeSharedLock(players.sharedLockName(1));
    ASSERT_TRUE(held);
    const Console busy = ctl(L"remove player14:1 --yes");
    EXPECT_EQ(busy.exit, 3u) << busy.output;
    EXPECT_STREQ(busy.json["error"]["code"].GetString(), "busy");
    EXPECT_TRUE(std::filesystem::exists(line14 / "vms" / "vantor1"));
}

TEST_F(ConsoleWin, ThreeStartInOrderAndStopAndTheOpenManagerFollowsACreate) {
    Console c = ctl(L"start player14:0 player14:1 player14:2 --interval 1 --wait --timeout 60");
    ASSERT_EQ(c.exit, 0u) << c.output;
    EXPECT_EQ(ctl(L"list").json["instances"][2]["status"].GetString(), std::string("running"));
    c = ctl(L"stop player14:0 player14:1 player14:2 --wait --timeout 60");
    ASSERT_EQ(c.exit, 0u) << c.output;

    ASSERT_NO_FATAL_FAILURE(startManager());
    ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2"})) << testing::PrintToString(rows());
    c = ctl(L"create --line player14");
    ASSERT_EQ(c.exit, 0u) << c.output;
    EXPECT_TRUE(testing_support::waitUntil([&] { return rows().size() == 4; }, 20s)) << testing::PrintToString(rows());
    ASSERT_EQ(ctl(L"rename player14:1 renamed").exit, 0u);
    EXPECT_TRUE(testing_support::waitUntil([&] { return rows().size() == 4 && rows()[1] == "renamed"; }, 20s))
        << testing::PrintToString(rows());
}

} // namespace
