#include "app/WindowOwner.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/FakeDockDesktop.h"
#include "support/TempDir.h"

using app::GroupControlFrame;
using app::GroupControlRegistry;
using app::TopLevelWindow;
using app::WindowOwner;

namespace {

// Windows and frames that write what was asked of them into one journal.
struct Journal {
    std::vector<std::string> calls;
};

class FakeWindow final : public TopLevelWindow {
public:
    FakeWindow(Journal& journal, std::string name, std::function<void()> onDestroyed = {})
        : m_journal(journal), m_name(std::move(name)), m_onDestroyed(std::move(onDestroyed)) {}
    ~FakeWindow() override { m_journal.calls.push_back(m_name + " view dropped"); }
    platform::WindowHandle handle() const override { return 1; }
    void bringToFront() override { m_journal.calls.push_back(m_name + " front"); }
    void setShown(bool shown) override { m_journal.calls.push_back(m_name + (shown ? " shown" : " hidden")); }
    void requestClose() override { m_journal.calls.push_back(m_name + " close"); }
    void destroy() override {
        m_journal.calls.push_back(m_name + " destroyed");
        if (m_onDestroyed) m_onDestroyed(); // the native end reports back while destroy runs
    }

private:
    Journal& m_journal;
    std::string m_name;
    std::function<void()> m_onDestroyed;
};

// A frame whose dock is real, over the fixture's desktop; its window's gestures go into the journal.
class FakeFrame final : public GroupControlFrame {
public:
    FakeFrame(Journal& journal, std::string name, testing_support::FakeDockDesktop& desktop,
              common::GlobalSettings& settings)
        : m_journal(journal), m_name(std::move(name)), m_dock(desktop, settings, 2, 1.0) {
        m_dock.setFrameWindow(desktop.add({0, 0, 1600, 900}));
    }
    groupcontrol::GroupDock& dock() override { return m_dock; }
    const groupcontrol::GroupDock& dock() const override { return m_dock; }
    void bringToFront() override { m_journal.calls.push_back(m_name + " front"); }
    void raise() override { m_journal.calls.push_back(m_name + " raised"); }
    void setShown(bool shown) override { m_journal.calls.push_back(m_name + (shown ? " shown" : " hidden")); }
    void close() override { m_journal.calls.push_back(m_name + " close"); }
    void dockChanged() override { m_journal.calls.push_back(m_name + " redrawn"); }

private:
    Journal& m_journal;
    std::string m_name;
    groupcontrol::GroupDock m_dock;
};

class WindowOwnerTest : public ::testing::Test {
protected:
    Journal journal;
    WindowOwner owner;
    int made = 0;

    WindowOwner::WindowFactory factory(const std::string& name) {
        return [this, name] {
            ++made;
            return std::make_unique<FakeWindow>(journal, name, [this] { owner.mainWindowGone(); });
        };
    }
    // A frame holding these instance windows (indexes 0, 1, … of line 2).
    std::unique_ptr<FakeFrame> frame(const std::string& name, const std::vector<platform::WindowHandle>& players = {}) {
        auto framed = std::make_unique<FakeFrame>(journal, name, desktop, settings);
        std::vector<groupcontrol::PlayerRecord> records;
        for (platform::WindowHandle w : players)
            records.push_back({static_cast<int>(records.size()), L"", w, 720, 1280});
        framed->dock().setPlayers(L"", records);
        return framed;
    }
    // The frames that gave windows back, in the order of their 25003 (0) posts.
    std::vector<platform::WindowHandle> releasingFrames() const {
        std::vector<platform::WindowHandle> out;
        for (const auto& p : desktop.posts)
            if (p.message == 25003 && p.first == 0) out.push_back(static_cast<platform::WindowHandle>(p.second));
        return out;
    }

    testing_support::TempDir dir;
    common::GlobalSettings settings;
    testing_support::FakeDockDesktop desktop;
    platform::WindowHandle w100 = desktop.add({0, 0, 360, 640});
    platform::WindowHandle w200 = desktop.add({0, 0, 360, 640});
    platform::WindowHandle w300 = desktop.add({0, 0, 360, 640});
};

} // namespace

TEST_F(WindowOwnerTest, MainWindowIsMadeOnceAndBroughtToTheFrontOnEveryRequest) {
    EXPECT_TRUE(owner.showMainWindow(factory("main")));
    EXPECT_TRUE(owner.showMainWindow(factory("main")));
    EXPECT_EQ(made, 1);
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"main front", "main front"}));

    EXPECT_TRUE(owner.showMainWindow([] { return std::unique_ptr<TopLevelWindow>(); }));
    owner.mainWindowGone();
    EXPECT_TRUE(owner.showMainWindow([] { return std::unique_ptr<TopLevelWindow>(); })) << "a failed create";
    EXPECT_EQ(owner.mainWindow(), nullptr);
    owner.showAll(false);
    owner.closeMainWindow(); // nothing to ask
    EXPECT_EQ(journal.calls.back(), "main view dropped");
}

TEST_F(WindowOwnerTest, DialogsAreMadeOnceAndGoWithTheMainWindow) {
    owner.showMainWindow(factory("main"));
    TopLevelWindow* setup = owner.dialog(L"MultiSetupFrame", factory("setup"));
    ASSERT_NE(setup, nullptr);
    EXPECT_EQ(owner.dialog(L"MultiSetupFrame", factory("setup")), setup);
    EXPECT_EQ(owner.dialog(L"other", [] { return std::unique_ptr<TopLevelWindow>(); }), nullptr);
    EXPECT_EQ(made, 2);

    journal.calls.clear();
    owner.destroyMainWindow(); // its end reports back from inside destroy
    EXPECT_EQ(owner.mainWindow(), nullptr);
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"setup view dropped", "main destroyed", "main view dropped"}));
    owner.dialog(L"MultiSetupFrame", factory("setup"));
    EXPECT_EQ(made, 3) << "a new main window gets new dialogs";
}

TEST_F(WindowOwnerTest, ShowAllAndShutdownReachTheMainWindow) {
    owner.showMainWindow(factory("main"));
    journal.calls.clear();
    owner.showAll(false);
    owner.showAll(true);
    owner.closeMainWindow();
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"main hidden", "main shown", "main close"}));
}

TEST(GroupControlRegistry, FrameKeysAndProductTypesOfUniqueIndexes) {
    EXPECT_EQ(GroupControlRegistry::frameKey(4, L"farm"), L"+{4}+farm");
    EXPECT_EQ(GroupControlRegistry::frameKey(-1, L""), L"+{-1}+");
    const std::pair<int, int> highByteToType[] = {{0, 0}, {1, 1}, {5, 2}, {3, 3}, {10, 4}, {2, -1}, {0x40, -1}};
    for (const auto& [highByte, type] : highByteToType)
        EXPECT_EQ(GroupControlRegistry::productTypeOfUniqueIndex(static_cast<std::int32_t>((highByte << 24) | 7)), type)
            << highByte;
}

TEST_F(WindowOwnerTest, FramesAreFoundInKeyOrderAndAllReleasedOnACrash) {
    GroupControlRegistry& frames = owner.groupControls();
    EXPECT_TRUE(frames.empty());
    frames.add(4, L"a", frame("4a", {w100}));
    frames.add(2, L"b", frame("2b", {w100, w200}));
    frames.add(2, L"a", frame("2a", {w300}));
    EXPECT_TRUE(frames.hasFrame(2, L"b"));
    EXPECT_FALSE(frames.hasFrame(4, L"b"));
    EXPECT_EQ(frames.findFrameByPlayerWindow(w100), frames.find(2, L"b")) << "+{2}+b sorts before +{4}+a";
    EXPECT_EQ(frames.findFrameByPlayerWindow(0x999), nullptr);
    EXPECT_FALSE(frames.withFrameOf(0x999, [](groupcontrol::GroupDock&) { FAIL(); }));

    owner.onCrash();
    const auto frameOf = [&](int type, const wchar_t* name) { return frames.find(type, name)->dock().frameWindow(); };
    EXPECT_EQ(releasingFrames(), (std::vector{frameOf(2, L"a"), frameOf(2, L"b"), frameOf(2, L"b"), frameOf(4, L"a")}));
    EXPECT_EQ(desktop.window(w300).parent, 0u);

    frames.drop(2, L"b");
    EXPECT_EQ(frames.findFrameByPlayerWindow(w100), frames.find(4, L"a")) << "a closed frame is never handed out";
}

TEST_F(WindowOwnerTest, RegistryOperationsReachTheFrameOfTheirGroup) {
    GroupControlRegistry& frames = owner.groupControls();
    frames.setFrameFactory(
        [this](int, const std::wstring& group) { return frame(std::string(group.begin(), group.end())); });
    const std::vector<groupcontrol::PlayerRecord> records{{0, L"P0", w100, 720, 1280}, {1, L"P1", 0, 720, 1280}};
    GroupControlFrame* shown = frames.showFrame(2, L"g", records);
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(desktop.window(w100).parent, shown->dock().frameWindow());
    EXPECT_EQ(frames.showFrame(2, L"g", {}), shown) << "one frame per group";
    EXPECT_TRUE(frames.frameHasRunningPlayer(2, L"g"));

    const std::int32_t line2 = 5 << 24;
    frames.onPlayerStateChanged(line2 | 1, L"g", true, w200);
    EXPECT_EQ(desktop.window(w200).parent, shown->dock().frameWindow());
    frames.onPlayerStateChanged(line2 | 1, L"other", false, 0);
    EXPECT_TRUE(shown->dock().containsPlayer(w200)) << "another group's frame is not this one";
    frames.addGroupPlayer(line2 | 2, L"g", {2, L"P2", w300, 720, 1280});
    EXPECT_EQ(shown->dock().players().size(), 3u);
    frames.removePlayer(line2 | 0, L"g");
    EXPECT_EQ(desktop.window(w100).parent, 0u) << "a removed instance goes back to the desktop";
    frames.removePlayerEverywhere(2); // index 2 of line 0: no frame of line 0
    EXPECT_TRUE(shown->dock().holdsIndex(2));
    frames.removePlayerEverywhere(line2 | 2);
    EXPECT_FALSE(shown->dock().holdsIndex(2));

    frames.rename(2, L"g", L"h");
    EXPECT_FALSE(frames.hasFrame(2, L"g"));
    EXPECT_EQ(frames.find(2, L"h"), shown);
    EXPECT_EQ(shown->dock().groupName(), L"h");

    journal.calls.clear();
    owner.showAll(false);
    frames.closeFrame(2, L"h", false);
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"g hidden", "g redrawn", "g close"}));
    EXPECT_EQ(desktop.window(w200).parent, 0u) << "closing without keeping releases";
}

TEST_F(WindowOwnerTest, AnInstanceMovedToAnotherGroupLeavesItsFrameForTheOtherOne) {
    GroupControlRegistry& frames = owner.groupControls();
    frames.add(2, L"from", frame("from", {w100}));
    frames.add(2, L"to", frame("to"));
    const std::int32_t id = (5 << 24) | 0;
    frames.movePlayer(id, L"to", {0, L"P0", w100, 720, 1280});
    EXPECT_FALSE(frames.find(2, L"from")->dock().holdsIndex(0));
    EXPECT_TRUE(frames.find(2, L"to")->dock().holdsIndex(0));
    EXPECT_EQ(desktop.window(w100).parent, frames.find(2, L"to")->dock().frameWindow());
    EXPECT_EQ(frames.findFrameByPlayerWindow(w100), frames.find(2, L"to"));
}
