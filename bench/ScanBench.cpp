// Scanning one product line with 2,000 instance folders and loading every instance configuration, against
// the floor: a bare directory listing plus reading and parsing the same files with RapidJSON.

#include <rapidjson/document.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "ScanFloor.h"
#include "core/storage/ConfigDocument.h"
#include "core/storage/Players.h"

namespace fs = std::filesystem;

namespace {

constexpr int kInstances = 2000;
constexpr int kRounds = 7;

std::string sampleConfig(int index) {
    std::string json = "{\n";
    json += "    \"statusSettings.playerName\": \"phone " + std::to_string(index) + "\",\n";
    json += "    \"advancedSettings.resolution\": {\"width\": 1280, \"height\": 720},\n";
    json += "    \"advancedSettings.resolutionDpi\": 240,\n    \"advancedSettings.cpuCount\": 4,\n";
    json += "    \"advancedSettings.memorySize\": 4096,\n";
    json += "    \"propertySettings.phoneIMEI\": \"861234567890123\",\n";
    json += "    \"propertySettings.phoneModel\": \"NX709S\",\n";
    for (int k = 0; k < 30; ++k) json += "    \"basicSettings.option" + std::to_string(k) + "\": true,\n";
    json += "    \"hotkeySettings.bossKey\": {\"modifiers\": 2, \"key\": 81}\n}\n";
    return json;
}

void makeLine(const fs::path& base) {
    fs::create_directories(base / "vms" / "config");
    for (int i = 0; i < kInstances; ++i) {
        fs::create_directories(base / "vms" / ("vantor" + std::to_string(i)));
        std::ofstream(base / "vms" / "config" / ("vantor" + std::to_string(i) + ".config")) << sampleConfig(i);
    }
}

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::size_t ours(const fs::path& base) {
    common::Players players(KV_PRODUCT_9);
    players.init(base);
    std::size_t members = 0;
    for (int index : players.indices()) {
        common::ConfigDocument doc;
        doc.load(players.configPath(index));
        members += doc.memberCount();
    }
    return members;
}

} // namespace

int main() {
    const fs::path base = fs::temp_directory_path() / "kvmulti-bench-scan";
    fs::remove_all(base);
    makeLine(base);
    double best[2] = {1e9, 1e9};
    std::size_t check[2] = {};
    for (int round = 0; round < kRounds; ++round) { // alternating, warm cache; best of the rounds
        auto t0 = std::chrono::steady_clock::now();
        check[0] = ours(base);
        auto t1 = std::chrono::steady_clock::now();
        check[1] = bench::floorScan(base);
        auto t2 = std::chrono::steady_clock::now();
        best[0] = std::min(best[0], seconds(t1 - t0));
        best[1] = std::min(best[1], seconds(t2 - t1));
    }
    std::printf("%d instance folders and configurations, best of %d warm rounds\n", kInstances, kRounds);
    std::printf("%-42s %10.2f ms  (%zu members)\n", "Players scan + ConfigDocument loads", best[0] * 1000, check[0]);
    std::printf("%-42s %10.2f ms  (%zu members)\n", "floor: directory listing + RapidJSON parse", best[1] * 1000,
                check[1]);
    std::printf("%-42s %10.2f   (goal <= 1.3)\n", "ratio", best[0] / best[1]);
    fs::remove_all(base);
    return 0;
}
