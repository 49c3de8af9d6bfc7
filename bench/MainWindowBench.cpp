// The main window over 1,000 instances of one line on an in-memory desktop, headlessly: a full list rebuild
// (model reload, rows built from the row skin, layout), and one one-second refresh tick in which 50 instances
// start (the model's refresh, 50 rows turning to running, the layout and paint walk that follows); then the
// same rebuild once a focus event has named one control (the accessible tree exists with one id), and once an
// accessibility client has read every row (the accessible tree forgets the old rows). Without a client the
// accessible tree does not exist, so the first figure is the cost without one. Then the list a user works in:
// named instances in groups, sorted by name, searched. Prints the best and median of several rounds; asserts
// nothing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "core/dispatch/EventLoop.h"
#include "core/storage/ConfigDocument.h"
#include "core/storage/InstanceKeys.h"
#include "support/FakeInstallSources.h"
#include "support/FakeInstanceDesktop.h"
#include "support/FakeWindowSystem.h"
#include "support/TempDir.h"
#include "toolkit/Accessible.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/List.h"
#include "toolkit/Painter.h"
#include "ui/main/KVMultiMainFrame.h"
#include "ui/main/ListOrder.h"

namespace {

constexpr int kInstances = 1000;
constexpr int kChanged = 50;
constexpr int kRounds = 9;
constexpr int kGroups = 50;

using Clock = std::chrono::steady_clock;

std::string skin(const wchar_t* name) {
    std::ifstream in(std::filesystem::path(KV_SKIN_DIR) / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The main window on the shipped skins; false when they are not found.
bool initFrame(mainui::KVMultiMainFrame& frame) {
    const std::string windowSkin = skin(mainui::KVMultiMainFrame::kSkinFile);
    const std::string rowSkin = skin(mainui::KVMultiMainFrame::kRowSkinFile);
    const std::string groupRowSkin = skin(mainui::KVMultiMainFrame::kGroupRowSkinFile);
    const std::string moveGroupSkin = skin(mainui::KVMoveGroupWnd::kSkinFile);
    return frame.init({windowSkin, rowSkin, groupRowSkin, moveGroupSkin}, KV_PRODUCT_14);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A painter that draws nothing: the walk over the tree is what a repaint costs the window logic.
struct NullPainter : ui::Painter {
    void fillRect(const ui::Rect&, ui::Argb) override {}
    void drawImage(const ui::ImageSpec&, const ui::Rect&) override {}
    void drawText(const ui::Rect&, const std::vector<ui::TextRun>&, const ui::TextStyle&) override {}
    void pushClip(const ui::Rect&) override {}
    void popClip() override {}
};

void report(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-34s best %8.2f ms   median %8.2f ms\n", label, ms.front(), ms[ms.size() / 2]);
}

// The same thousand instances named, in 50 groups of 20, sorted by name: a rebuild with the group rows, a
// rebuild with a one-character search (groups hidden, matches flat and highlighted), and one keystroke in
// the search box (the text changes, the list is rebuilt, laid out and walked for paint).
void groupedAndSearched(common::PlayerSet& players, common::Players& line,
                        testing_support::FakeInstanceDesktop& desktop, testing_support::FakeInstallSources& sources,
                        testing_support::FakeWindowSystem& windows, const std::filesystem::path& folder) {
    for (int i = 0; i < kInstances; ++i) {
        common::ConfigDocument doc;
        doc.load(line.configPath(i));
        doc.setString(common::keys::kPlayerName, L"farm " + std::to_wstring((i * 7919) % kInstances));
        (void)doc.save();
    }
    players.own().init(folder); // the manager's settings hold the sort mode
    players.own().settings().set(common::settings::multiPlayerSortV2, static_cast<int>(mainui::kSortNameUp));
    KVMultiModel model(players, sources, desktop, windows, folder);
    std::wstring a, b, c, d, e;
    model.getPlayerPath(a, b, c, d, e);
    model.reloadPlayerList();
    for (int g = 0; g < kGroups; ++g) {
        const std::wstring name = L"group " + std::to_wstring(g);
        model.groups().createGroup(KV_PRODUCT_14, name, L"");
        std::vector<std::int32_t> ids;
        for (int i = g; i < kInstances; i += kGroups) ids.push_back((10 << 24) + i);
        model.groups().moveToGroup(KV_PRODUCT_14, ids, name);
    }
    ui::ControlFactory factory;
    mainui::KVMultiMainFrame frame(model, players.own().settings(), factory, {});
    if (!initFrame(frame)) return;
    ui::Window& window = frame.window();
    window.resize({760, 560});
    NullPainter painter;
    const auto rebuildMs = [&] {
        const auto start = Clock::now();
        frame.refreshList({.keepSearch = true});
        window.layout();
        window.paint(painter);
        return msSince(start);
    };
    std::vector<double> grouped, searched, keystroke;
    std::size_t matches = 0;
    for (int round = 0; round < kRounds; ++round) grouped.push_back(rebuildMs());
    frame.enterSearch();
    window.character(L'7');
    for (int round = 0; round < kRounds; ++round) searched.push_back(rebuildMs());
    for (int round = 0; round < kRounds; ++round) {
        window.keyDown(ui::Key::Back);
        auto start = Clock::now();
        window.character(L'3'); // the box had focus: the text changes and the list follows
        window.layout();
        window.paint(painter);
        keystroke.push_back(msSince(start));
        matches = frame.window().find<ui::List>(L"listVm")->count();
    }
    std::printf("main window, %d named instances in %d groups, sorted by name, %d rounds\n", kInstances, kGroups,
                kRounds);
    report("refreshList with the group rows", grouped);
    report("refreshList, search \"7\"", searched);
    std::printf("a keystroke in the search box lists %zu rows\n", matches);
    report("keystroke (\"3\" for \"7\")", keystroke);
}

} // namespace

int main() {
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir / "vms");
    common::PlayerSet players;
    common::Players& line = players.line(KV_PRODUCT_14);
    const auto& info = product::productLine(KV_PRODUCT_14);
    line.setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    line.init(dir.path());
    for (int i = 0; i < kInstances; ++i) line.addIndex(i);
    testing_support::FakeInstanceDesktop desktop;
    testing_support::FakeInstallSources sources;
    sources.install(dir.path().wstring(), L"14.0.0.1");
    sources.config[L"player14"] = dir.path().wstring();
    testing_support::FakeWindowSystem windows;
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    common::dispatch::install(&dispatcher);
    {
        KVMultiModel model(players, sources, desktop, windows, dir.path());
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        ui::ControlFactory factory;
        mainui::KVMultiMainFrame frame(model, players.own().settings(), factory, {});
        if (!initFrame(frame)) {
            std::printf("skins not found below %s\n", KV_SKIN_DIR);
            return 1;
        }
        ui::Window& window = frame.window();
        window.resize({760, 560});
        NullPainter painter;

        std::vector<double> rebuild, reload, tick;
        int started = 0;
        for (int round = 0; round < kRounds; ++round) {
            auto start = Clock::now();
            model.reloadPlayerList();
            reload.push_back(msSince(start));
            start = Clock::now();
            frame.refreshList({.reloadModel = true});
            window.layout();
            window.paint(painter);
            rebuild.push_back(msSince(start));

            for (int i = 0; i < kChanged; ++i) desktop.run(line, (started + i * 20) % kInstances);
            start = Clock::now();
            frame.refreshTick();
            window.layout();
            window.paint(painter);
            tick.push_back(msSince(start));
            for (int i = 0; i < kChanged; ++i) desktop.end(line, (started + i * 20) % kInstances);
            frame.refreshTick(); // back to all stopped for the next round
            started += 1;
        }
        // A focus event names the focused control (a start button) before any client asked: the tree exists
        // and holds one id.
        std::vector<double> focusOnly;
        for (int round = 0; round < kRounds; ++round) {
            (void)window.accessible().idOf(window.findControl(L"startBtn"));
            const auto start = Clock::now();
            frame.refreshList({.reloadModel = true});
            window.layout();
            window.paint(painter);
            focusOnly.push_back(msSince(start));
        }
        std::vector<double> connected;
        std::size_t nodes = 0;
        for (int round = 0; round < kRounds; ++round) {
            ui::AccessibleTree& tree = window.accessible(); // a client reads the whole tree
            std::vector<ui::AccessibleTree::Id> pending{ui::AccessibleTree::kWindow};
            for (nodes = 0; !pending.empty(); ++nodes) {
                const auto id = pending.back();
                pending.pop_back();
                (void)tree.describe(id);
                for (const auto child : tree.children(id)) pending.push_back(child);
            }
            const auto start = Clock::now();
            frame.refreshList({.reloadModel = true});
            window.layout();
            window.paint(painter);
            connected.push_back(msSince(start));
        }
        std::printf("main window, %d instances of one line, %d rounds\n", kInstances, kRounds);
        report("refreshList (reload, rows, layout)", rebuild);
        report("  of which the model's reload", reload);
        report("refresh tick, 50 rows start", tick);
        report("refreshList, one focus event", focusOnly);
        std::printf("accessible tree read by a client: %zu nodes\n", nodes);
        report("refreshList, client connected", connected);
    }
    groupedAndSearched(players, line, desktop, sources, windows, dir.path());
    common::dispatch::uninstall();
    return 0;
}
