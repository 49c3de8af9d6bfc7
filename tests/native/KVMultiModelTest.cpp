#include "core/model/KVMultiModel.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/dispatch/EventLoop.h"
#include "core/ipc/IpcMessages.h"
#include "core/storage/InstanceKeys.h"
#include "support/DiskImages.h"
#include "support/LogCapture.h"
#include "support/ModelWorld.h"
#include "support/TempDir.h"

using common::BusyRegistry;
using testing_support::FakeInstanceDesktop;
using testing_support::LogCapture;
using testing_support::TempDir;
using namespace std::chrono_literals;

namespace {

// The test listens to the model like a window, under a key of its own.
const common::OwnerKey kTestOwner = common::newOwnerKey();

constexpr std::int32_t id14(int index) {
    return (10 << 24) + index;
}

// Lines 0, 3 and 4 installed in a temporary folder, the model on an event loop standing for the UI thread.
class ModelTest : public ::testing::Test, protected testing_support::ModelWorld {
protected:
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    LogCapture log;
    KVMultiModel model{players, sources, desktop, windows, program.path()};
    std::vector<std::tuple<std::int32_t, bool, platform::WindowHandle>> changes;

    void SetUp() override {
        common::dispatch::install(&dispatcher);
        install(KV_PRODUCT_71_32, L"player5", L"5.0.12.0");
        install(KV_PRODUCT_51, L"player3", L"3.200.0.0");
        install(KV_PRODUCT_14, L"player14", L"14.0.0.1");
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        desktop.addWindow(std::wstring(utility::kNotificationWindowClass), L"", 1);
        model.events().playerStateChanged.subscribe(
            kTestOwner,
            [this](std::int32_t id, bool running, platform::WindowHandle w) { changes.emplace_back(id, running, w); });
    }
    void TearDown() override {
        for (int l = 0; l < product::kProductCount; ++l) players.line(static_cast<KV_PRODUCT_TYPE>(l)).waitForTasks();
        common::dispatch::uninstall();
    }
    common::Players& lineOf(KV_PRODUCT_TYPE line) { return players.line(line); }
    bool runUntil(const std::function<bool()>& done) { return loop.runUntil(done, 20s); }
};

} // namespace

TEST_F(ModelTest, ReloadDerivesEveryStatusFromBusyListsMutexAndWindows) {
    common::Players& p = lineOf(KV_PRODUCT_14);
    for (int i = 0; i <= 8; ++i) addInstance(KV_PRODUCT_14, i, i == 0 ? L"a,b" : L"n");
    p.busy().addCopy(1, 7);
    p.busy().add(BusyRegistry::Kind::Backup, 2);
    desktop.run(p, 2, true, false); // runs during its backup
    desktop.run(p, 3, false, true); // windows, but no mutex
    p.busy().add(BusyRegistry::Kind::Creation, 4);
    p.busy().add(BusyRegistry::Kind::Backup, 5);
    p.busy().add(BusyRegistry::Kind::Restore, 6);
    model.reloadPlayerList();

    const std::map<int, int> expected{{0, 0}, {1, 11}, {2, 1}, {3, 2}, {4, 4}, {5, 5}, {6, 6}, {7, 3}, {8, 0}};
    ASSERT_EQ(model.playerList(KV_PRODUCT_14).size(), expected.size());
    for (const auto& r : model.playerList(KV_PRODUCT_14))
        EXPECT_EQ(r.status, expected.at(r.id & 0xFFFFFF)) << "index " << (r.id & 0xFFFFFF);
    const model::InstanceRecord* zero = model.findRecord(id14(0));
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->name, L"a\uFF0Cb");
    const model::InstanceRecord* eight = model.findRecord(id14(8));
    EXPECT_EQ(eight->width, 1280) << "defaults of an index other than 0";
    EXPECT_EQ(eight->dpi, 240);
    const model::InstanceRecord* windowed = model.findRecord(id14(3));
    EXPECT_NE(windowed->renderWindow, 0u);
    EXPECT_EQ(windowed->subProcessId, windowed->topProcessId + 1);
    EXPECT_EQ(LogCapture::countExact("common::Players::isCopying", L"player 7  is copying"), 1);
    EXPECT_EQ(LogCapture::countExact("common::Players::isBeingCopied", L"player 1  is being copied"), 1);
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::reloadPlayerList", L"32 player size is 0"), 1);
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::reloadPlayerList", L"3 player size is 0"), 1);
}

TEST_F(ModelTest, InitReadsTheCommandLineAndTakesTheFirstRunMarkerOnce) {
    testing_support::writeFile(program / "vms" / "firstrun", "");
    model.init(L"monitor=65537|product=2|other=1|monitor");
    EXPECT_EQ(model.commandLineMonitor(), 65537);
    EXPECT_EQ(model.commandLineProduct(), 2);
    EXPECT_TRUE(model.isNewUser());
    EXPECT_FALSE(model.isOldUser());
    EXPECT_FALSE(std::filesystem::exists(program / "vms" / "firstrun"));
    EXPECT_TRUE(std::filesystem::is_directory(program / "data"));
    EXPECT_TRUE(log.contains("KVMultiModel::init", L"from monitor:65537"));
    EXPECT_TRUE(log.contains("KVMultiModel::init", L"it is new user!"));
    model.init(nullptr);
    EXPECT_EQ(model.commandLineMonitor(), 65537);
}

TEST_F(ModelTest, RefreshReportsAStartAndAStopOnceEachWithoutWalkingWindowsEveryTick) {
    common::Players& p = lineOf(KV_PRODUCT_14);
    addInstance(KV_PRODUCT_14, 3, L"three");
    model.reloadPlayerList();
    const auto running = desktop.run(p, 3);
    model.refreshPlayerStatus();
    const long walks = desktop.windowWalks;
    model.refreshPlayerStatus();
    EXPECT_EQ(desktop.windowWalks, walks) << "the known top window is checked, not searched again";
    desktop.end(p, 3);
    model.refreshPlayerStatus();
    model.refreshPlayerStatus();
    using Change = std::tuple<std::int32_t, bool, platform::WindowHandle>;
    EXPECT_EQ(changes, (std::vector<Change>{{id14(3), true, running.frame}, {id14(3), false, 0}}));
}

// The pass lists mutexes and windows once where the desktop can; either way the same changes are reported,
// among them an instance whose windows come before its mutex and one with a mutex but no windows.
TEST_F(ModelTest, RefreshReportsTheSameWhetherTheDesktopListsOrIsAskedPerInstance) {
    common::Players& p = lineOf(KV_PRODUCT_14);
    for (int i = 1; i <= 3; ++i) addInstance(KV_PRODUCT_14, i, L"n");
    using Change = std::tuple<std::int32_t, bool, platform::WindowHandle>;
    for (const bool lists : {true, false}) {
        SCOPED_TRACE(lists ? "listed" : "asked");
        desktop.lists = lists;
        changes.clear();
        model.reloadPlayerList();
        model.refreshPlayerStatus();
        const auto windowFirst = desktop.run(p, 1, false, true);
        desktop.run(p, 2, true, false);
        model.refreshPlayerStatus();
        desktop.mutexes.insert(p.mutexName(1));
        model.refreshPlayerStatus();
        desktop.end(p, 1);
        desktop.end(p, 2);
        model.refreshPlayerStatus();
        EXPECT_EQ(
            changes,
            (std::vector<Change>{
                {id14(1), true, windowFirst.frame}, {id14(2), true, 0}, {id14(1), false, 0}, {id14(2), false, 0}}));
    }
    EXPECT_GT(desktop.listings, 0);
}

TEST_F(ModelTest, CreateReportsProgressOnTheUiThreadAndFinishesOnceAfterAReload) {
    const auto& p = lineOf(KV_PRODUCT_14);
    testing_support::writeDiskImage(p.templateDataPath(true), "template", 1 << 20);
    std::vector<int> percents;
    std::vector<std::int32_t> finished;
    std::int32_t added = -1;
    const auto ui = std::this_thread::get_id();
    bool offThread = false;
    model.events().playerAdded.subscribe(kTestOwner, [&](KV_PRODUCT_TYPE, std::int32_t id) { added = id; });
    model.events().createProgress.subscribe(kTestOwner, [&](std::int32_t, int percent) {
        percents.push_back(percent);
        offThread |= std::this_thread::get_id() != ui;
    });
    model.events().createFinished.subscribe(kTestOwner, [&](KV_PRODUCT_TYPE, std::int32_t id) {
        finished.push_back(id);
        offThread |= std::this_thread::get_id() != ui;
    });
    model.addPlayer(KV_PRODUCT_14, {});
    model.addPlayer(KV_PRODUCT_14, {});
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::addPlayer", L"it is adding. not do"), 1);
    EXPECT_EQ(added, id14(0));
    EXPECT_TRUE(model.isAdding());
    ASSERT_TRUE(runUntil([&] { return !finished.empty(); }));
    lineOf(KV_PRODUCT_14).waitForTasks();
    loop.runPending();
    EXPECT_EQ(finished, std::vector<std::int32_t>{id14(0)});
    EXPECT_FALSE(offThread);
    EXPECT_FALSE(model.isAdding());
    EXPECT_FALSE(percents.empty());
    EXPECT_LT(percents.back(), 100);
    EXPECT_NE(model.findRecord(id14(0)), nullptr) << "listed by the reload that precedes the report";
    ASSERT_EQ(desktop.posts.size(), 1u);
    EXPECT_EQ(desktop.posts[0].message, utility::kMsgInstanceAdded);
}

TEST_F(ModelTest, ReportsOfACopyThatOutlivesItsModelAreDropped) {
    addInstance(KV_PRODUCT_51, 0, L"src");
    int reports = 0;
    {
        KVMultiModel shortLived(players, sources, desktop, windows, program.path());
        std::wstring a, b, c, d, e;
        shortLived.getPlayerPath(a, b, c, d, e);
        shortLived.events().copyStarted.subscribe(
            kTestOwner, [&](KV_PRODUCT_TYPE, std::int32_t, const std::wstring&) { ++reports; });
        shortLived.events().copyFinished.subscribe(kTestOwner, [&](std::int32_t) { ++reports; });
        shortLived.copyPlayer(product::encodeInstanceId(KV_PRODUCT_51, 0));
        EXPECT_EQ(shortLived.copyTarget(), product::encodeInstanceId(KV_PRODUCT_51, 1));
    }
    lineOf(KV_PRODUCT_51).waitForTasks();
    loop.runPending();
    EXPECT_EQ(reports, 1) << "only the start";
    EXPECT_TRUE(desktop.posts.empty()) << "Android 5.1 instances are not announced";
}

TEST_F(ModelTest, RemoveTakesTheRecordOutAtOnceAndFinishesOnTheUiThread) {
    addInstance(KV_PRODUCT_71_32, 4, L"four");
    addInstance(KV_PRODUCT_51, 2, L"two");
    model.groups().createGroup(KV_PRODUCT_71_32, L"G", L"g");
    model.groups().moveToGroup(KV_PRODUCT_71_32, {4}, L"G");
    model.reloadPlayerList();
    model.remove(4, true);
    model.remove(product::encodeInstanceId(KV_PRODUCT_51, 2), true);
    model.remove(-3, true);
    EXPECT_EQ(model.findRecord(4), nullptr);
    EXPECT_TRUE(log.contains("KVMultiModel::remove", L"remove player, index = -3!!!"));
    ASSERT_TRUE(runUntil(
        [&] { return !model.isRemoving(4) && !model.isRemoving(product::encodeInstanceId(KV_PRODUCT_51, 2)); }));
    EXPECT_FALSE(std::filesystem::exists(lineOf(KV_PRODUCT_71_32).instanceFolder(4)));
    EXPECT_TRUE(model.groups().find(KV_PRODUCT_71_32, L"G")->members.empty());
    ASSERT_EQ(desktop.posts.size(), 1u) << "the Android 5.1 removal posts nothing";
    EXPECT_EQ(desktop.posts[0].message, utility::kMsgInstanceRemoved);
    EXPECT_EQ(desktop.posts[0].first, 4u);
}

TEST_F(ModelTest, RenameToTheSameNameDoesNothing) {
    addInstance(KV_PRODUCT_14, 1, L"one");
    model.reloadPlayerList();
    model.rename(id14(1), L"one");
    EXPECT_EQ(LogCapture::count("KVMultiModel::rename", L""), 0);
    EXPECT_TRUE(desktop.posts.empty());
    model.rename(id14(1), L"uno");
    EXPECT_EQ(model.findRecord(id14(1))->name, L"uno");
    EXPECT_EQ(lineOf(KV_PRODUCT_14).displayName(1), L"uno");
    ASSERT_EQ(desktop.posts.size(), 1u);
    EXPECT_EQ(desktop.posts[0].message, utility::kMsgInstanceChanged);
}

TEST_F(ModelTest, LaunchPassesTheMonitorWithSeveralAndRecordsTheLine) {
    addInstance(KV_PRODUCT_14, 2, L"two");
    model.launch(id14(9));
    EXPECT_TRUE(log.contains("KVMultiModel::launch", L"player not exist"));
    model.launch(id14(2));
    windows.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    windows.addMonitor({1920, 0, 3840, 1080}, {1920, 0, 3840, 1040});
    model.launch(id14(2));
    model.launch(id14(2), L"show=0");
    ASSERT_EQ(desktop.starts.size(), 3u);
    EXPECT_EQ(desktop.starts[0].parameters, L"");
    EXPECT_EQ(desktop.starts[1].parameters, L"monitor=65537");
    EXPECT_EQ(desktop.starts[2].parameters, L"monitor=65537|show=0");
    EXPECT_EQ(sources.config[L"lastRun"], L"4");
}

TEST_F(ModelTest, LaunchAndStopOpenAlikeEachUnderItsOwnName) {
    addInstance(KV_PRODUCT_14, 2, L"two");
    desktop.run(lineOf(KV_PRODUCT_14), 2); // a stop reaches only an instance whose endpoint exists
    for (const char* function : {"KVMultiModel::launch", "KVMultiModel::stop"}) {
        const bool launch = std::string_view(function) == "KVMultiModel::launch";
        const auto open = [&](std::int32_t id) { launch ? model.launch(id) : model.stop(id); };
        open(id14(9));
        EXPECT_EQ(LogCapture::countExact(function, L"player not exist"), 1) << function;
        open(id14(2));
        EXPECT_EQ(LogCapture::countExact(function, L"launch player 167772162"), 1) << "stop's text too";
        EXPECT_EQ(LogCapture::countExact(function, L"real player 2"), 1) << function;
    }
    EXPECT_EQ(desktop.starts.size(), 1u);
    ASSERT_EQ(desktop.stops.size(), 1u);
    EXPECT_EQ(desktop.stops[0].index, 2);
}

TEST_F(ModelTest, AnEventNobodyListensToIsLoggedByName) {
    model.reportListChanged();
    EXPECT_EQ(LogCapture::countExact("KVMultiModel::notify", L"no receiver for listChanged"), 1);
}

TEST_F(ModelTest, ArrangeHandsTheRunningInstancesTopWindowsToTheArranger) {
    windows.addMonitor({0, 0, 1920, 1080}, {0, 0, 1920, 1040});
    const auto frame = windows.addWindow({100, 100, 740, 460});
    addInstance(KV_PRODUCT_14, 0, L"zero");
    addInstance(KV_PRODUCT_14, 1, L"one");
    desktop.run(lineOf(KV_PRODUCT_14), 0, true, true, frame);
    model.reloadPlayerList();
    model.arrange({id14(1), id14(0)});
    for (int i = 0; i < 2000 && windows.messages().empty(); ++i) std::this_thread::sleep_for(5ms); // a worker
    ASSERT_EQ(windows.messages().size(), 1u) << "instance 1 has no window and is skipped";
    EXPECT_EQ(windows.messages()[0].window, frame);
    EXPECT_EQ(windows.rect(frame).left, 0);
}
