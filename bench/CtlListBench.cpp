// "kvmctl list" on one product line with 2,000 instances, from the command line to the printed JSON, against
// the scan benchmark's floor measured in the same run: a bare directory listing plus reading and parsing the
// same configurations with RapidJSON. The model runs over the fake desktop (nothing runs).
//
// Each instance folder holds two small stand-ins for its disk images, as real folders hold a few large files:
// the disk-size walk that "list" makes then meets files, not only empty folders.

#include <rapidjson/document.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ScanFloor.h"
#include "core/dispatch/EventLoop.h"
#include "kvmctl/CtlSession.h"
#include "support/FakeInstallSources.h"
#include "support/FakeInstanceDesktop.h"
#include "support/FakeWindowSystem.h"

namespace fs = std::filesystem;

namespace {

constexpr int kInstances = 2000;
constexpr int kRounds = 7;

void makeLine(const fs::path& base) {
    fs::create_directories(base / "vms" / "config");
    for (int i = 0; i < kInstances; ++i) {
        const fs::path folder = base / "vms" / ("vantor" + std::to_string(i));
        fs::create_directories(folder);
        std::ofstream(folder / "data.vmdk") << std::string(1024, 'd');
        std::ofstream(folder / "system.vmdk") << std::string(3000 + i, 's');
        std::ofstream(base / "vms" / "config" / ("vantor" + std::to_string(i) + ".config"))
            << "{\n    \"statusSettings.playerName\": \"phone " << i
            << "\",\n    \"advancedSettings.resolution\": {\"width\": 1280, \"height\": 720},\n"
               "    \"advancedSettings.resolutionDpi\": 240,\n    \"advancedSettings.cpuCount\": 4,\n"
               "    \"advancedSettings.memorySize\": 4096\n}\n";
    }
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A console process's whole life but the process itself: storage objects found and scanned, the command
// run, the reply printed to a string.
std::size_t consoleList(const fs::path& program, const fs::path& base) {
    testing_support::FakeInstallSources sources;
    sources.install(base.wstring(), L"9.0.0.1");
    sources.config[L"player9"] = base.wstring();
    testing_support::FakeInstanceDesktop desktop;
    testing_support::FakeWindowSystem windows;
    common::PlayerSet players;
    common::EventLoop loop;
    common::Dispatcher dispatcher{loop};
    common::dispatch::install(&dispatcher);
    std::size_t bytes = 0;
    {
        KVMultiModel model{players, sources, desktop, windows, program};
        std::wstring a, b, c, d, e;
        model.getPlayerPath(a, b, c, d, e);
        for (int i = 0; i < product::kProductCount; ++i)
            players.line(static_cast<KV_PRODUCT_TYPE>(i)).init(model.installFolders()[static_cast<std::size_t>(i)]);
        ctl::Session session{model, players, sources, loop, {}, {}};
        const auto parsed = ctl::parseArguments({"list"});
        bytes = ctl::runCommand(session, *parsed.arguments).json().size();
    }
    common::dispatch::uninstall();
    return bytes;
}

} // namespace

int main() {
    const fs::path root = fs::temp_directory_path() / "kvmulti-bench-ctl";
    fs::remove_all(root);
    makeLine(root / "line");
    fs::create_directories(root / "program" / "data");
    double best[2] = {1e9, 1e9};
    std::size_t check[2] = {};
    for (int round = 0; round < kRounds; ++round) { // alternating, warm cache; best of the rounds
        const auto t0 = std::chrono::steady_clock::now();
        check[0] = consoleList(root / "program", root / "line");
        const auto t1 = std::chrono::steady_clock::now();
        check[1] = bench::floorScan(root / "line");
        const auto t2 = std::chrono::steady_clock::now();
        best[0] = std::min(best[0], seconds(t1 - t0));
        best[1] = std::min(best[1], seconds(t2 - t1));
    }
    std::printf("%d instances, best of %d warm rounds\n", kInstances, kRounds);
    std::printf("%-42s %10.2f ms  (%zu bytes of JSON)\n", "kvmctl list (in process)", best[0] * 1000, check[0]);
    std::printf("%-42s %10.2f ms  (%zu members)\n", "floor: directory listing + RapidJSON parse", best[1] * 1000,
                check[1]);
    std::printf("%-42s %10.2f   (goal <= 1.3)\n", "ratio", best[0] / best[1]);
    fs::remove_all(root);
    return 0;
}
