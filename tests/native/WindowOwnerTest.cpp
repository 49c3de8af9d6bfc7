#include "app/WindowOwner.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

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

class FakeFrame final : public GroupControlFrame {
public:
    FakeFrame(Journal& journal, std::string name, std::set<platform::WindowHandle> players)
        : m_journal(journal), m_name(std::move(name)), m_players(std::move(players)) {}
    bool hasPlayerWindow(platform::WindowHandle window) const override { return m_players.contains(window); }
    void releaseAll() override { m_journal.calls.push_back(m_name + " released"); }

private:
    Journal& m_journal;
    std::string m_name;
    std::set<platform::WindowHandle> m_players;
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
    std::unique_ptr<FakeFrame> frame(const std::string& name, std::set<platform::WindowHandle> players = {}) {
        return std::make_unique<FakeFrame>(journal, name, std::move(players));
    }
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
    frames.add(4, L"a", frame("4a", {100}));
    frames.add(2, L"b", frame("2b", {100, 200}));
    frames.add(2, L"a", frame("2a"));
    EXPECT_TRUE(frames.hasFrame(2, L"b"));
    EXPECT_FALSE(frames.hasFrame(4, L"b"));
    EXPECT_EQ(frames.findFrameByPlayerWindow(100), frames.find(2, L"b")) << "+{2}+b sorts before +{4}+a";
    EXPECT_EQ(frames.findFrameByPlayerWindow(300), nullptr);

    owner.onCrash();
    EXPECT_EQ(journal.calls, (std::vector<std::string>{"2a released", "2b released", "4a released"}));

    frames.drop(2, L"b");
    EXPECT_EQ(frames.findFrameByPlayerWindow(100), frames.find(4, L"a")) << "a closed frame is never handed out";
}
