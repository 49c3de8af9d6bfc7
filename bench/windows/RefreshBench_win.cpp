// The model's one-second status refresh on a real desktop with 50 running stand-in instances (and 50 stopped
// ones), then with 100 running among 1,000, against two floors of bare Win32 calls with the names formatted
// beforehand: a mutex test and FindWindowW per instance, and the minimum (FindWindowW only when the mutex is
// absent). Run under Wine by
// scripts/bench.sh with the folder of the stand-in copies as argument. Prints figures; asserts nothing.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/model/InstallSources_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"
#include "platform/win32/system/NamedMutex_win.h"
#include "support/StandInHarness_win.h"

namespace {

const common::OwnerKey kTestOwner = common::newOwnerKey();

using Clock = std::chrono::steady_clock;

struct Scene {
    int running;
    int stopped;
    int ticks;  // per loop and round
    int rounds; // the best round counts
};

// Microseconds per tick of each loop, the best of the scene's rounds; the loops take turns within a round.
std::vector<double> bestUsPerTick(const Scene& scene, const std::vector<std::function<void()>>& loops) {
    std::vector<double> best(loops.size(), 1e300);
    for (int round = 0; round < scene.rounds; ++round)
        for (std::size_t l = 0; l < loops.size(); ++l) {
            const auto start = Clock::now();
            for (int t = 0; t < scene.ticks; ++t) loops[l]();
            const double us = std::chrono::duration<double, std::micro>(Clock::now() - start).count() / scene.ticks;
            best[l] = std::min(best[l], us);
        }
    return best;
}

// One install with the scene's instances, the first `running` of them started; false when one did not start.
// The install ends its instances when it goes, so scenes run one after another.
bool measure(const char* standins, const Scene& scene) {
    const int count = scene.running + scene.stopped;
    testing_support::StandInInstall install(testing_support::windowsPathOf(standins), L"14", KV_PRODUCT_14);
    for (int i = 0; i < count; ++i) install.addInstance(i, L"bench " + std::to_wstring(i));
    for (int i = 0; i < scene.running; ++i) install.players().startPlayer(i, L"");
    for (int i = 0; i < scene.running; ++i)
        if (!install.waitRunning(i)) {
            std::printf("instance %d did not start\n", i);
            return false;
        }

    testing_support::WinTempDir program;
    common::PlayerSet players;
    const auto& info = product::productLine(KV_PRODUCT_14);
    players.line(KV_PRODUCT_14).setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    players.line(KV_PRODUCT_14).init(install.folder());
    platform::win32::Win32InstallSources sources(program.path());
    platform::win32::Win32InstanceDesktop desktop;
    platform::win32::Win32WindowSystem windows(program.path());
    KVMultiModel model(players, sources, desktop, windows, program.path());
    int reports = 0;
    model.events().playerStateChanged.subscribe(kTestOwner,
                                                [&](std::int32_t, bool, platform::WindowHandle) { ++reports; });
    model.reloadPlayerList();
    model.refreshPlayerStatus();
    reports = 0; // the steady state reports nothing

    std::vector<std::wstring> mutexes;
    std::vector<std::wstring> classes;
    for (int i = 0; i < count; ++i) {
        mutexes.push_back(players.line(KV_PRODUCT_14).mutexName(i));
        classes.push_back(players.line(KV_PRODUCT_14).windowClassName(i));
    }
    int found = 0;
    const auto us = bestUsPerTick(scene, {[&] { model.refreshPlayerStatus(); },
                                          [&] {
                                              for (std::size_t i = 0; i < mutexes.size(); ++i) {
                                                  found += platform::win32::namedMutexExists(mutexes[i]);
                                                  found += FindWindowW(classes[i].c_str(), nullptr) != nullptr;
                                              }
                                          },
                                          [&] {
                                              for (std::size_t i = 0; i < mutexes.size(); ++i)
                                                  found += platform::win32::namedMutexExists(mutexes[i]) ||
                                                           FindWindowW(classes[i].c_str(), nullptr);
                                          },
                                          [&] {
                                              std::vector<std::wstring> names;
                                              found += desktop.listMutexes(names);
                                          },
                                          [&] {
                                              std::vector<platform::TopWindow> listed;
                                              found += desktop.listTopWindows(listed);
                                          }});
    std::printf("%4d running + %4d stopped, best of %d x %d ticks: model %.1f us/tick, bare %.1f us/tick, minimal "
                "%.1f us/tick; ratio %.2f to bare, %.2f to minimal (reports after the first tick: %d)\n",
                scene.running, scene.stopped, scene.rounds, scene.ticks, us[0], us[1], us[2], us[0] / us[1],
                us[0] / us[2], reports);
    std::printf("     of the model's tick: listing the mutexes %.1f us, listing the top-level windows %.1f us\n", us[3],
                us[4]);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_refresh_win <stand-in folder>\n");
        return 2;
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::printf("status refresh under Wine against stand-in instances\n");
    std::printf("bare: mutex test + FindWindowW per instance; minimal: FindWindowW only without the mutex\n");
    for (const Scene& scene : {Scene{50, 50, 200, 5}, Scene{100, 900, 10, 3}})
        if (!measure(argv[1], scene)) return 1;
    return 0;
}
