// kvmctl.exe list on one product line with 2,000 instances under Wine, process start to exit, against the
// scan floor measured in this process in the same run (a directory listing plus reading and parsing every
// configuration with RapidJSON). Run by scripts/bench.sh with kvmctl.exe's path and the stand-in folder;
// prints figures only.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "../ScanFloor.h"
#include "support/WinProcess_win.h"

namespace fs = std::filesystem;

namespace {

constexpr int kInstances = 2000;
constexpr int kRounds = 5;

void makeInstallation(const fs::path& program, const fs::path& line, const fs::path& standIn) {
    fs::create_directories(line / "vms" / "config");
    for (int i = 0; i < kInstances; ++i) {
        fs::create_directories(line / "vms" / ("vantor" + std::to_string(i)));
        std::ofstream(line / "vms" / "config" / ("vantor" + std::to_string(i) + ".config"))
            << "{\n    \"statusSettings.playerName\": \"phone " << i
            << "\",\n    \"advancedSettings.resolution\": {\"width\": 1280, \"height\": 720},\n"
               "    \"advancedSettings.resolutionDpi\": 240\n}\n";
    }
    fs::copy_file(standIn, line / "rqplayer.exe"); // its version passes the folder check; nothing is started
    fs::create_directories(program / "data");
    std::ofstream(program / "pathconfig.ini") << "[setting]\r\nplayer14=" << line.string() << "\r\n";
}

double ms(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: bench_ctl_win <kvmctl.exe> <stand-in folder>\n");
        return 2;
    }
    testing_support::WinTempDir root;
    const fs::path program = root.path() / "program";
    makeInstallation(program, root.path() / "Android14",
                     testing_support::windowsPathOf(argv[2]) / "14" / "rqplayer.exe");
    fs::copy_file(testing_support::windowsPathOf(argv[1]), program / "kvmctl.exe");
    double best[3] = {1e300, 1e300, 1e300};
    std::size_t bytes = 0;
    std::size_t members = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        const auto run = testing_support::runCaptured(program / "kvmctl.exe", L"list");
        auto t1 = std::chrono::steady_clock::now();
        (void)testing_support::runCaptured(program / "kvmctl.exe", L"help");
        auto t2 = std::chrono::steady_clock::now();
        members = bench::floorScan(root.path() / "Android14");
        auto t3 = std::chrono::steady_clock::now();
        if (run.exitCode != 0) {
            std::printf("kvmctl list failed (%lu): %s\n", run.exitCode, run.output.substr(0, 300).c_str());
            return 1;
        }
        bytes = run.output.size();
        best[0] = std::min(best[0], ms(t1 - t0));
        best[1] = std::min(best[1], ms(t2 - t1));
        best[2] = std::min(best[2], ms(t3 - t2));
    }
    std::printf("%d instances under Wine, best of %d rounds\n", kInstances, kRounds);
    std::printf("%-46s %10.1f ms  (%zu bytes)\n", "kvmctl list, process start to exit", best[0], bytes);
    std::printf("%-46s %10.1f ms\n", "kvmctl help, process start to exit", best[1]);
    std::printf("%-46s %10.1f ms  (%zu members)\n", "floor: directory listing + RapidJSON parse", best[2], members);
    std::printf("%-46s %10.2f   (goal <= 1.3)\n", "ratio (list - start-up) / floor", (best[0] - best[1]) / best[2]);
    return 0;
}
