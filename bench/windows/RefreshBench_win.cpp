// The model's one-second status refresh on a real desktop with 50 running stand-in instances (and 50 stopped
// ones), against the floor: the bare Win32 calls the refresh cannot avoid (the mutex test, and FindWindowW
// when the mutex is absent), with the names formatted beforehand. Run under Wine by scripts/bench.sh with the
// folder of the stand-in copies as argument. Prints figures; asserts nothing.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "platform/win32/InstallSources_win.h"
#include "platform/win32/InstanceDesktop_win.h"
#include "platform/win32/NamedMutex_win.h"
#include "platform/win32/WindowSystem_win.h"
#include "support/StandInHarness_win.h"

namespace {

constexpr int kRunning = 50;
constexpr int kStopped = 50;
constexpr int kTicks = 200;
constexpr int kRounds = 5;

using Clock = std::chrono::steady_clock;

template <class F>
double bestUsPerTick(F&& tick) {
    double best = 1e300;
    for (int round = 0; round < kRounds; ++round) {
        const auto start = Clock::now();
        for (int t = 0; t < kTicks; ++t) tick();
        best = std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - start).count() / kTicks);
    }
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_refresh_win <stand-in folder>\n");
        return 2;
    }
    testing_support::StandInInstall install(testing_support::windowsPathOf(argv[1]), L"14", KV_PRODUCT_14);
    for (int i = 0; i < kRunning + kStopped; ++i) install.addInstance(i, L"bench " + std::to_wstring(i));
    for (int i = 0; i < kRunning; ++i) install.players().startPlayer(i, L"");
    for (int i = 0; i < kRunning; ++i)
        if (!install.waitRunning(i)) {
            std::printf("instance %d did not start\n", i);
            return 1;
        }

    testing_support::WinTempDir program;
    common::PlayerSet players;
    const auto& info = model::productLine(KV_PRODUCT_14);
    players.line(KV_PRODUCT_14).setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    players.line(KV_PRODUCT_14).init(install.folder());
    platform::win32::Win32InstallSources sources(program.path());
    platform::win32::Win32InstanceDesktop desktop;
    platform::win32::Win32WindowSystem windows(program.path());
    KVMultiModel model(players, sources, desktop, windows, program.path());
    int reports = 0;
    model.slots().playerStateChanged = [&](std::int32_t, bool, model::WindowHandle) { ++reports; };
    model.reloadPlayerList();
    model.refreshPlayerStatus();

    std::vector<std::wstring> mutexes;
    std::vector<std::wstring> classes;
    for (int i = 0; i < kRunning + kStopped; ++i) {
        mutexes.push_back(players.line(KV_PRODUCT_14).mutexName(i));
        classes.push_back(players.line(KV_PRODUCT_14).windowClassName(i));
    }
    int found = 0;
    const double bare = bestUsPerTick([&] {
        found = 0;
        for (std::size_t i = 0; i < mutexes.size(); ++i)
            found += platform::win32::namedMutexExists(mutexes[i]) || FindWindowW(classes[i].c_str(), nullptr);
    });
    const double refresh = bestUsPerTick([&] { model.refreshPlayerStatus(); });
    std::printf("status refresh under Wine, %d running + %d stopped stand-in instances, best of %d x %d ticks\n",
                kRunning, kStopped, kRounds, kTicks);
    std::printf("model %.1f us/tick, bare Win32 calls %.1f us/tick, ratio %.2f (running seen: %d, reports: %d)\n",
                refresh, bare, refresh / bare, found, reports);
    return 0;
}
