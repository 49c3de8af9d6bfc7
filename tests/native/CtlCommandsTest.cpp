// The console's commands over a real model on temporary install folders, as the Windows program runs them
// (only the desktop and the install sources are fakes).

#include <gtest/gtest.h>

#include "core/dispatch/EventLoop.h"
#include "core/storage/InstanceKeys.h"
#include "core/storage/PlayerConfig.h"
#include "kvmctl/CtlSession.h"
#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/ModelWorld.h"

using namespace std::chrono_literals;

namespace {

constexpr std::int32_t id14(int index) {
    return (10 << 24) + index;
}

class CtlCommandsTest : public ::testing::Test, protected testing_support::ModelWorld {
protected:
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    testing_support::LogCapture log;
    KVMultiModel model{players, sources, desktop, windows, program.path()};
    std::vector<std::string> progress;
    int listChanges = 0;
    ctl::Session session{model,
                         players,
                         sources,
                         loop,
                         [this](std::string_view what, std::int32_t id, int percent) {
                             progress.push_back(std::string(what) + " " + std::to_string(id) + " " +
                                                std::to_string(percent));
                         },
                         [this] { ++listChanges; },
                         20s,
                         5ms};

    void SetUp() override {
        common::dispatch::install(&dispatcher);
        std::filesystem::create_directories(program / "data");
        install(KV_PRODUCT_71_32, L"player5", L"5.0.12.0");
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        testing_support::writeDiskImage(players.line(KV_PRODUCT_14).templateDataPath(true), "template", 1 << 16);
    }
    void TearDown() override {
        for (int l = 0; l < product::kProductCount; ++l) players.line(static_cast<KV_PRODUCT_TYPE>(l)).waitForTasks();
        common::dispatch::uninstall();
    }

    // Runs the command line and hands back the parsed JSON it would print, with its exit code.
    rapidjson::Document run(const std::vector<std::string>& argv, int& exit) {
        const auto parsed = ctl::parseArguments(argv);
        EXPECT_TRUE(parsed.arguments) << parsed.error;
        rapidjson::Document doc;
        if (!parsed.arguments) return doc;
        const ctl::Reply reply = ctl::runCommand(session, *parsed.arguments);
        exit = static_cast<int>(reply.exit());
        doc.Parse(reply.json().c_str());
        EXPECT_TRUE(doc.IsObject());
        return doc;
    }
    rapidjson::Document ok(const std::vector<std::string>& argv) {
        int exit = -1;
        rapidjson::Document doc = run(argv, exit);
        EXPECT_EQ(exit, 0) << argv[0] << ": " << (doc.HasMember("error") ? doc["error"]["message"].GetString() : "");
        return doc;
    }
    std::unique_ptr<common::ConfigDocument> configOf(std::int32_t id) {
        auto doc = std::make_unique<common::ConfigDocument>();
        doc->load(common::PlayerConfig::configPathOf(players.line(product::productOfId(id)).baseFolder(),
                                                     product::indexOfId(id)));
        return doc;
    }
};

} // namespace

TEST_F(CtlCommandsTest, ListShowsWhatTheFilesAndTheDesktopSay) {
    addInstance(KV_PRODUCT_14, 0, L"zero");
    addInstance(KV_PRODUCT_14, 3, L"three");
    addInstance(KV_PRODUCT_71_32, 1, L"old");
    common::ConfigDocument doc;
    doc.load(players.line(KV_PRODUCT_14).configPath(3));
    doc.setResolution(1920, 1080);
    doc.setInt(common::keys::kResolutionDpi, 320);
    doc.setInt(common::keys::kCpuCount, 6);
    ASSERT_TRUE(doc.save());
    testing_support::writeDiskImage(players.line(KV_PRODUCT_14).dataDiskPath(3, true), "d", 4096);
    desktop.run(players.line(KV_PRODUCT_14), 0);
    model.groups().createGroup(KV_PRODUCT_14, L"farm", L"g");
    model.groups().moveToGroup(KV_PRODUCT_14, {id14(3)}, L"farm");

    rapidjson::Document list = ok({"list"});
    const auto& rows = list["instances"];
    ASSERT_EQ(rows.Size(), 3u);
    EXPECT_STREQ(rows[0]["line"].GetString(), "player5");
    const auto& three = rows[2];
    EXPECT_EQ(three["id"].GetInt(), id14(3));
    EXPECT_EQ(three["index"].GetInt(), 3);
    EXPECT_STREQ(three["name"].GetString(), "three");
    EXPECT_STREQ(three["status"].GetString(), "stopped");
    EXPECT_EQ(three["width"].GetInt(), 1920);
    EXPECT_EQ(three["height"].GetInt(), 1080);
    EXPECT_EQ(three["dpi"].GetInt(), 320);
    EXPECT_EQ(three["cpu"].GetInt(), 6);
    EXPECT_GE(three["disk"].GetUint64(), 4096u);
    EXPECT_STREQ(three["group"].GetString(), "farm");
    EXPECT_STREQ(rows[1]["status"].GetString(), "running");
    EXPECT_TRUE(rows[1]["group"].IsNull());

    EXPECT_EQ(ok({"list", "--line", "player14", "--group", "farm"})["instances"].Size(), 1u);
    EXPECT_EQ(ok({"list", "--line", "4"})["instances"].Size(), 2u);
    const auto lines = ok({"lines"});
    EXPECT_TRUE(lines["lines"][4]["installed"].GetBool());
    EXPECT_STREQ(lines["lines"][4]["version"].GetString(), "14.0.0.1");
    EXPECT_FALSE(lines["lines"][2]["installed"].GetBool());
}

TEST_F(CtlCommandsTest, AFilteredListReadsTheFoldersAsTheWholeListDoes) {
    // The whole list takes disk sizes and copy markers from the reload's folder walks; a filtered one walks
    // the rows it shows itself.
    addInstance(KV_PRODUCT_14, 1, L"one");
    addInstance(KV_PRODUCT_14, 2, L"two");
    const common::Players& line = players.line(KV_PRODUCT_14);
    testing_support::writeDiskImage(line.dataDiskPath(1, true), "d", 4096);
    testing_support::writeFile(line.instanceFolder(1) / "sub" / "x", std::string(10, 'x'));
    testing_support::writeFile(line.instanceFolder(2) / "copy_not_finish", "");
    std::filesystem::remove(line.configPath(2)); // gone since the scan: the row shows the defaults
    for (const std::vector<std::string>& argv : {std::vector<std::string>{"list"}, {"list", "--line", "player14"}}) {
        const rapidjson::Document list = ok(argv);
        const auto& rows = list["instances"];
        ASSERT_EQ(rows.Size(), 2u) << argv.size();
        EXPECT_EQ(rows[0]["disk"].GetUint64(), 4096u + 10u) << argv.size();
        EXPECT_STREQ(rows[0]["status"].GetString(), "stopped") << argv.size();
        EXPECT_STREQ(rows[1]["status"].GetString(), "copy_failed") << argv.size();
        EXPECT_EQ(rows[1]["disk"].GetUint64(), 0u) << argv.size();
        EXPECT_EQ(rows[1]["dpi"].GetInt(), 240) << argv.size();
    }
}

TEST_F(CtlCommandsTest, EveryRefusalHasItsExitCode) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    addInstance(KV_PRODUCT_14, 2, L"two");
    desktop.run(players.line(KV_PRODUCT_14), 2);
    const std::string one = std::to_string(id14(1));
    const std::string two = std::to_string(id14(2));
    const auto held = platform::tryTakeSharedLock(players.line(KV_PRODUCT_14).sharedLockName(1)); // another program
    ASSERT_TRUE(held);
    const struct {
        std::vector<std::string> argv;
        int exit;
        const char* code;
    } cases[] = {
        {{"get", "abc"}, 1, "usage"},
        {{"get", "player14:9"}, 2, "not_found"},
        {{"get", std::to_string((2 << 24) + 1)}, 1, "usage"}, // no line has code 2
        {{"get", "player9:0"}, 2, "not_found"},
        {{"list", "--line", "nope"}, 1, "usage"},
        {{"list", "--group", "none"}, 2, "not_found"},
        {{"create", "--line", "player9"}, 2, "not_found"},
        {{"create"}, 1, "usage"},
        {{"create", "--line", "player5", "--mode", "multi"}, 1, "usage"},
        {{"create", "--line", "player14", "--cpu", "5"}, 1, "usage"},
        {{"create", "--line", "player14", "--resolution", "8000x100"}, 1, "usage"},
        {{"create", "--line", "player14", "--dpi", "200"}, 1, "usage"},
        {{"rename", one, "x"}, 3, "busy"},
        {{"remove", two, "--yes"}, 3, "busy"},
        {{"remove", two}, 1, "usage"},
        {{"remove", one, two, "--yes"}, 3, "busy"},
        {{"clone", one}, 3, "busy"},
        {{"backup", one, "/tmp/x.kvbk"}, 3, "busy"},
        {{"backup", two, "/tmp/x.zip"}, 1, "usage"},
        {{"restore", two, "/nonexistent/x.kvbk"}, 2, "not_found"},
        {{"set", two, "advancedSettings.cpuCount=3"}, 1, "usage"},
        {{"set", two, "basicSettings.fps=121"}, 1, "usage"},
        {{"set", two, "no.such.key=1"}, 1, "usage"},
        {{"set", two, "basicSettings.autoRotate=maybe"}, 1, "usage"},
        {{"set", two, "hotkeySettings.bossKey=9:65"}, 1, "usage"},
        {{"get", two, "no.such.key"}, 2, "not_found"},
        {{"group", "add", "none", one}, 2, "not_found"},
        {{"group", "create", "a|b", "--line", "player14"}, 1, "usage"},
    };
    for (const auto& c : cases) {
        int exit = -1;
        const rapidjson::Document doc = run(c.argv, exit);
        EXPECT_EQ(exit, c.exit) << c.argv[0] << " " << (c.argv.size() > 1 ? c.argv[1] : "");
        ASSERT_TRUE(doc.HasMember("error")) << c.argv[0];
        EXPECT_STREQ(doc["error"]["code"].GetString(), c.code) << c.argv[0];
    }
    EXPECT_EQ(listChanges, 0) << "nothing was changed";
}

TEST_F(CtlCommandsTest, SetWritesTheBatchKeysIntoEveryInstanceOrSaysWhichWereBusy) {
    for (int i : {1, 2, 3}) addInstance(KV_PRODUCT_14, i, L"n");
    ok({"set", std::to_string(id14(1)), "player14:2", "advancedSettings.cpuCount=4", "basicSettings.autoRotate=true",
        "advancedSettings.resolution=1600x900", "hotkeySettings.bossKey=2:81", "propertySettings.phoneModel=Pixel 8"});
    for (int i : {1, 2}) {
        const auto doc = configOf(id14(i));
        EXPECT_EQ(doc->getInt(common::keys::kCpuCount, 0), 4);
        EXPECT_TRUE(doc->getBool("basicSettings.autoRotate", false));
        EXPECT_EQ(doc->getResolution(common::keys::kResolution, {}), (common::Resolution{1600, 900}));
        EXPECT_EQ(doc->getHotkey("hotkeySettings.bossKey", {}), (common::CombineKey{2, 81}));
        EXPECT_EQ(doc->getString(common::keys::kPhoneModel), L"Pixel 8");
    }
    EXPECT_EQ(configOf(id14(3))->getInt(common::keys::kCpuCount, 0), 0) << "not named, not written";
    EXPECT_EQ(listChanges, 1);

    const auto held = platform::tryTakeSharedLock(players.line(KV_PRODUCT_14).sharedLockName(3));
    int exit = -1;
    const auto partly = run({"set", "player14:2", "player14:3", "advancedSettings.memorySize=8192"}, exit);
    EXPECT_EQ(exit, 5);
    EXPECT_STREQ(partly["error"]["code"].GetString(), "partly_done");
    EXPECT_TRUE(partly["results"][0]["ok"].GetBool());
    EXPECT_STREQ(partly["results"][1]["error"]["code"].GetString(), "busy");
    EXPECT_EQ(configOf(id14(2))->getInt(common::keys::kMemorySize, 0), 8192);
    EXPECT_EQ(configOf(id14(3))->getInt(common::keys::kMemorySize, 0), 0);
}

TEST_F(CtlCommandsTest, CreateCloneRenameGetAndRemoveAnInstanceFarm) {
    const auto created = ok({"create", "--line", "player14", "--count", "2", "--resolution", "1080x1920", "--dpi",
                             "480", "--cpu", "2", "--memory", "3072", "--mode", "multipro"});
    ASSERT_EQ(created["results"].Size(), 2u);
    EXPECT_EQ(created["results"][0]["id"].GetInt(), id14(0));
    EXPECT_EQ(created["results"][1]["id"].GetInt(), id14(1));
    const auto doc = configOf(id14(1));
    EXPECT_EQ(doc->getResolution(common::keys::kResolution, {}), (common::Resolution{1080, 1920}));
    EXPECT_EQ(doc->getInt(common::keys::kResolutionDpi, 0), 480);
    EXPECT_EQ(doc->getInt(common::keys::kMemorySize, 0), 3072);
    EXPECT_EQ(doc->getInt(common::keys::kVMemUsage, 0), 2) << "multipro";
    EXPECT_EQ(doc->getInt(common::keys::kFps, 0), 30) << "multipro";
    EXPECT_FALSE(progress.empty());
    EXPECT_EQ(progress.front().rfind("create " + std::to_string(id14(0)), 0), 0u);

    progress.clear();
    const auto cloned = ok({"clone", "player14:1", "--count", "3"});
    ASSERT_EQ(cloned["results"].Size(), 3u);
    EXPECT_EQ(cloned["results"][2]["id"].GetInt(), id14(4));
    EXPECT_EQ(configOf(id14(4))->getInt(common::keys::kResolutionDpi, 0), 480) << "a clone keeps its source's settings";
    EXPECT_EQ(progress.front().rfind("clone", 0), 0u);

    ok({"rename", "player14:4", "night shift"});
    EXPECT_STREQ(
        ok({"get", "player14:4",
            std::string(common::keys::kPlayerName)})["settings"][std::string(common::keys::kPlayerName).c_str()]
            .GetString(),
        "night shift");
    EXPECT_GT(ok({"get", "player14:4"})["settings"].MemberCount(), 5u) << "without keys: every key";

    const auto removed = ok({"remove", "player14:2", "player14:3", "--yes"});
    EXPECT_EQ(removed["results"].Size(), 2u);
    EXPECT_FALSE(std::filesystem::exists(players.line(KV_PRODUCT_14).instanceFolder(2)));
    const rapidjson::Document left = ok({"list"});
    std::vector<int> ids;
    for (const auto& r : left["instances"].GetArray()) ids.push_back(r["id"].GetInt());
    EXPECT_EQ(ids, (std::vector<int>{id14(0), id14(1), id14(4)}));
    EXPECT_EQ(listChanges, 4) << "create, clone, rename and remove each tell the manager";
}

TEST_F(CtlCommandsTest, GroupsAreMadeFilledRenamedAndDeletedInTheGroupsFile) {
    for (int i : {1, 2}) addInstance(KV_PRODUCT_14, i, L"n");
    ok({"group", "create", "farm", "--line", "player14"});
    const auto added = ok({"group", "add", "farm", "player14:1", "player14:2"});
    EXPECT_EQ(added["group"]["members"].Size(), 2u);
    ok({"group", "remove", "farm", "player14:1"});
    ok({"group", "rename", "farm", "barn"});

    model::GroupStore onDisk(program / "data"); // what a manager reads on its next reload
    onDisk.load();
    ASSERT_EQ(onDisk.groups(KV_PRODUCT_14).size(), 1u);
    EXPECT_EQ(onDisk.groups(KV_PRODUCT_14)[0].name, L"barn");
    EXPECT_EQ(onDisk.groups(KV_PRODUCT_14)[0].members, std::vector<std::int32_t>{id14(2)});
    EXPECT_EQ(ok({"groups"})["groups"].Size(), 1u);

    ok({"group", "delete", "barn"});
    EXPECT_EQ(ok({"groups", "--line", "player14"})["groups"].Size(), 0u);
    EXPECT_EQ(listChanges, 5);
}

TEST_F(CtlCommandsTest, StartAndStopAskTheInstancesAndWaitForThem) {
    for (int i : {1, 2}) addInstance(KV_PRODUCT_14, i, L"n");
    desktop.run(players.line(KV_PRODUCT_14), 2);
    const auto started = ok({"start", "player14:1", "player14:2", "--interval", "0"});
    EXPECT_FALSE(started["results"][0]["already"].GetBool());
    EXPECT_TRUE(started["results"][1]["already"].GetBool());
    ASSERT_EQ(desktop.starts.size(), 1u);
    EXPECT_EQ(desktop.starts[0].index, 1);

    int exit = -1;
    const auto late = run({"start", "player14:1", "--wait", "--timeout", "0"}, exit);
    EXPECT_EQ(exit, 4) << "the fake never starts it";
    EXPECT_STREQ(late["error"]["code"].GetString(), "failed");
}

TEST_F(CtlCommandsTest, WithWaitABusyInstanceIsWorkedOnOnceTheOtherProgramLetsGo) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    auto held = platform::tryTakeSharedLock(players.line(KV_PRODUCT_14).sharedLockName(1));
    int exit = -1;
    (void)run({"rename", "player14:1", "later", "--wait", "--timeout", "0"}, exit);
    EXPECT_EQ(exit, 3) << "no time to wait: busy";
    common::dispatch::postToUiThread([&held] { held.reset(); }); // the other program ends while we wait
    ok({"rename", "player14:1", "later", "--wait", "--timeout", "20"});
    EXPECT_EQ(players.line(KV_PRODUCT_14).displayName(1), L"later");
}
