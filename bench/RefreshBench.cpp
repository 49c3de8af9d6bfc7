// The model's one-second status refresh over 1,000 instances on an in-memory desktop, against the floor: a
// loop making only the desktop calls the refresh cannot avoid on the same fake (the mutex test, and the window
// search when the mutex is absent), through the same interface, with the names formatted beforehand. Three
// mixes: none, half and all of the instances running. Prints figures; asserts nothing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "support/FakeInstallSources.h"
#include "support/FakeInstanceDesktop.h"
#include "support/FakeWindowSystem.h"
#include "support/TempDir.h"

namespace {

constexpr int kInstances = 1000;
constexpr int kTicks = 500;
constexpr int kRounds = 15;
const common::OwnerKey kTestOwner = common::newOwnerKey();

using Clock = std::chrono::steady_clock;

// Nanoseconds per tick of each loop, the best of kRounds; the loops take turns within a round, so a load
// that comes and goes on the machine hits them alike.
std::vector<double> bestNsPerTick(const std::vector<std::function<void()>>& loops) {
    std::vector<double> best(loops.size(), 1e300);
    for (int round = 0; round < kRounds; ++round)
        for (std::size_t l = 0; l < loops.size(); ++l) {
            const auto start = Clock::now();
            for (int t = 0; t < kTicks; ++t) loops[l]();
            const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kTicks;
            best[l] = std::min(best[l], ns);
        }
    return best;
}

struct Names {
    std::vector<std::wstring> mutexes;
    std::vector<std::wstring> classes;
};

// The floors, through the interface as the model calls it, and out of line so the calls stay virtual:
// one mutex test and one window search per instance (what a refresh that looks up the instance's window every
// tick needs), and the strict minimum that searches only when the mutex is absent.
[[gnu::noinline]] long bareTick(platform::InstanceDesktop& desktop, const Names& names) {
    long found = 0;
    for (std::size_t i = 0; i < names.mutexes.size(); ++i) {
        found += desktop.mutexExists(names.mutexes[i]);
        found += desktop.findWindow(names.classes[i]) != 0;
    }
    return found;
}
[[gnu::noinline]] long minimalTick(platform::InstanceDesktop& desktop, const Names& names) {
    long found = 0;
    for (std::size_t i = 0; i < names.mutexes.size(); ++i)
        found += desktop.mutexExists(names.mutexes[i]) || desktop.findWindow(names.classes[i]) != 0;
    return found;
}

// Other programs' mutexes and windows, so no look-up finds an empty table.
void addStrangers(testing_support::FakeInstanceDesktop& desktop) {
    for (int i = 0; i < 200; ++i) {
        desktop.mutexes.insert(L"Local\\other-program-" + std::to_wstring(i));
        desktop.addWindow(L"OtherWindowClass" + std::to_wstring(i), L"", 50000 + i);
    }
}

void measure(const char* label, int runningEvery) {
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir / "vms");
    common::PlayerSet players;
    common::Players& line = players.line(KV_PRODUCT_14);
    const auto& info = product::productLine(KV_PRODUCT_14);
    line.setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    line.init(dir.path());
    testing_support::FakeInstanceDesktop desktop;
    addStrangers(desktop);
    Names names;
    for (int i = 0; i < kInstances; ++i) {
        line.addIndex(i);
        if (runningEvery > 0 && i % runningEvery == 0) desktop.run(line, i);
        names.mutexes.push_back(line.mutexName(i));
        names.classes.push_back(line.windowClassName(i));
    }
    testing_support::FakeInstallSources sources;
    testing_support::FakeWindowSystem windows;
    KVMultiModel model(players, sources, desktop, windows, dir.path());
    model.events().playerStateChanged.subscribe(kTestOwner, [](std::int32_t, bool, platform::WindowHandle) {});
    model.reloadPlayerList();
    model.refreshPlayerStatus(); // the first tick reports the running ones; later ticks are the steady state

    long found = 0;
    const long walksBefore = desktop.windowWalks;
    const auto ns = bestNsPerTick({[&] { model.refreshPlayerStatus(); }, [&] { found += bareTick(desktop, names); },
                                   [&] { found += minimalTick(desktop, names); }});
    const double refresh = ns[0], bare = ns[1], minimal = ns[2];
    std::printf("%-8s %9.1f %9.1f %9.1f %7.2f %7.2f %6ld\n", label, refresh / 1000.0, bare / 1000.0, minimal / 1000.0,
                refresh / bare, refresh / minimal, desktop.windowWalks - walksBefore);
    if (found < 0) std::printf("unreachable\n");
}

} // namespace

int main() {
    std::printf("status refresh, %d instances, best of %d rounds of %d ticks\n", kInstances, kRounds, kTicks);
    std::printf("bare: mutex test + window search per instance; minimal: window search only without the mutex\n");
    std::printf("%-8s %9s %9s %9s %7s %7s %6s\n", "running", "model us", "bare us", "min us", "ratio", "ratio",
                "walks");
    std::printf("%-8s %9s %9s %9s %7s %7s %6s\n", "", "", "", "", "/bare", "/min", "");
    measure("none", 0);
    measure("half", 2);
    measure("all", 1);
    return 0;
}
