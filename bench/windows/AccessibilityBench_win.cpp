// kvacc.exe against a running kvmulti.exe whose main window lists 200 instances, under Wine: the time of
// `kvacc list` (the whole accessible tree, every call crossing into the manager) and of `kvacc get` of the
// last row's status. Arguments: the build's stand-in folder; the program folder is its sibling "program".
// Prints the best and median of several runs; asserts nothing.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "support/WinProcess_win.h"

namespace {

constexpr int kInstances = 200;
constexpr int kRuns = 3;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

void report(const char* label, std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s best %9.1f ms   median %9.1f ms\n", label, ms.front(), ms[ms.size() / 2]);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: bench_accessibility_win <stand-in folder>\n");
        return 1;
    }
    const auto standins = testing_support::windowsPathOf(argv[1]);
    const auto built = standins.parent_path() / "program";
    testing_support::WinTempDir root;
    const auto program = root.path() / "program";
    const auto line = root.path() / "Android14";
    std::filesystem::create_directories(program);
    for (const char* file : {"kvmulti.exe", "kvacc.exe", "rqresource.rcc"})
        std::filesystem::copy_file(built / file, program / file);
    std::filesystem::copy(built / "fonts", program / "fonts");
    std::filesystem::create_directories(line / "vms" / "config");
    std::filesystem::copy_file(standins / "14" / "rqplayer.exe", line / "rqplayer.exe");
    for (int i = 0; i < kInstances; ++i) {
        std::filesystem::create_directories(line / "vms" / ("vantor" + std::to_string(i)));
        writeText(line / "vms" / "config" / ("vantor" + std::to_string(i) + ".config"),
                  R"({"statusSettings.playerName": "bench )" + std::to_string(i) + R"("})");
    }
    writeText(program / "pathconfig.ini", "[setting]\r\nplayer14=" + line.string() + "\r\n");

    testing_support::ChildProcess manager;
    if (!manager.start(program / "kvmulti.exe") || !manager.waitForWindow(L"KVRemoteLoginFrame", 60s)) {
        std::printf("kvmulti.exe did not open its window\n");
        return 1;
    }
    const auto kvacc = program / "kvacc.exe";
    const std::wstring last = L"get labelStatus --row " + std::to_wstring(kInstances - 1);
    bool filled = false; // the manager lists the instances a moment after its window opens
    for (auto limit = Clock::now() + 120s; !filled && Clock::now() < limit;)
        filled = testing_support::runCaptured(kvacc, last).exitCode == 0;
    if (!filled) {
        std::printf("the manager did not list %d instances within 120 s\n", kInstances);
        PostMessageW(manager.waitForWindow(L"KVRemoteLoginFrame", 1s), WM_CLOSE, 0, 0);
        return 1;
    }

    // Each run is printed as it ends: a whole list takes tens of seconds on a loaded machine.
    std::vector<double> listed, read;
    std::size_t nodes = 0;
    for (int run = 0; run < kRuns; ++run) {
        auto start = Clock::now();
        const auto list = testing_support::runCaptured(kvacc, L"list", 600s);
        listed.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        if (list.exitCode != 0) {
            std::printf("kvacc list failed (exit code %lu)\n", list.exitCode);
            break;
        }
        nodes = 0;
        for (std::size_t at = 0; (at = list.output.find("\"role\"", at)) != std::string::npos; ++at) ++nodes;
        start = Clock::now();
        const auto got = testing_support::runCaptured(kvacc, last);
        read.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        std::printf("run %d: list %.1f ms (%zu nodes), get %.1f ms (exit code %lu)\n", run + 1, listed.back(), nodes,
                    read.back(), got.exitCode);
        std::fflush(stdout);
    }
    if (!read.empty()) {
        std::printf("kvacc against the main window with %d rows (%zu accessible nodes), %zu runs\n", kInstances, nodes,
                    read.size());
        report("kvacc list (whole tree, JSON)", listed);
        std::vector<double> sorted = listed;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-40s %9.2f ms per node (median run)\n", "", sorted[sorted.size() / 2] / double(nodes));
        report("kvacc get labelStatus --row 199", read);
    }
    PostMessageW(manager.waitForWindow(L"KVRemoteLoginFrame", 1s), WM_CLOSE, 0, 0);
    manager.waitForExit(20s);
    return 0;
}
