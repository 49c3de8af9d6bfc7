// The model's one-second status refresh over 1,000 instances on an in-memory desktop, against the floor: a
// loop making only the desktop calls the refresh cannot avoid on the same fake (the mutex test, and the window
// search when the mutex is absent), with the names formatted beforehand. Three mixes: none, half and all of
// the instances running. Prints figures; asserts nothing.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "support/FakeInstallSources.h"
#include "support/FakeInstanceDesktop.h"
#include "support/FakeWindowSystem.h"
#include "support/TempDir.h"

namespace {

constexpr int kInstances = 1000;
constexpr int kTicks = 2000;
constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;

template <class F>
double bestNsPerTick(F&& tick) {
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (int t = 0; t < kTicks; ++t) tick();
        const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() / kTicks;
        best = std::min(best, ns);
    }
    return best;
}

struct Names {
    std::vector<std::wstring> mutexes;
    std::vector<std::wstring> classes;
};

void measure(const char* label, int runningEvery) {
    testing_support::TempDir dir;
    std::filesystem::create_directories(dir / "vms");
    common::PlayerSet players;
    common::Players& line = players.line(KV_PRODUCT_14);
    const auto& info = model::productLine(KV_PRODUCT_14);
    line.setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    line.init(dir.path());
    testing_support::FakeInstanceDesktop desktop;
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
    model.slots().playerStateChanged = [](std::int32_t, bool, model::WindowHandle) {};
    model.reloadPlayerList();
    model.refreshPlayerStatus(); // the first tick reports the running ones; later ticks are the steady state

    long found = 0;
    const double bare = bestNsPerTick([&] {
        for (int i = 0; i < kInstances; ++i)
            found += desktop.mutexExists(names.mutexes[i]) || desktop.findWindow(names.classes[i]) != 0;
    });
    const long walksBefore = desktop.windowWalks;
    const double refresh = bestNsPerTick([&] { model.refreshPlayerStatus(); });
    std::printf("%-14s %10.1f %10.1f %8.2f %12ld\n", label, refresh / 1000.0, bare / 1000.0, refresh / bare,
                desktop.windowWalks - walksBefore);
    if (found < 0) std::printf("unreachable\n");
}

} // namespace

int main() {
    std::printf("status refresh, %d instances, best of %d rounds of %d ticks\n", kInstances, kRounds, kTicks);
    std::printf("%-14s %10s %10s %8s %12s\n", "running", "model us", "bare us", "ratio", "window walks");
    measure("none", 0);
    measure("half", 2);
    measure("all", 1);
    return 0;
}
