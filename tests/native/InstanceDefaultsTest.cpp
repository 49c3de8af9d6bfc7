#include "core/storage/InstanceDefaults.h"

#include <gtest/gtest.h>

#include <tuple>

#include "core/storage/InstanceKeys.h"

using namespace common::defaults;
using common::Resolution;

TEST(InstanceDefaults, ResolutionOfIndexZeroFollowsTheScreenOthersAre1280x720) {
    const std::tuple<int, int, Resolution> cases[] = {
        {0, 3840, {2560, 1440}}, {0, 3200, {2560, 1440}}, {0, 2560, {1920, 1080}}, {0, 1920, {1600, 900}},
        {0, 1600, {1280, 720}},  {0, 1599, {960, 540}},   {5, 3840, {1280, 720}},  {-1, 3840, {1280, 720}}};
    for (const auto& [index, screen, expected] : cases) EXPECT_EQ(resolutionFor(index, screen), expected) << screen;
}

// Special sizes first, then bands by area; portrait 720 × 1280 (921600) falls in none of the bands.
TEST(InstanceDefaults, DpiBySpecialSizesThenByArea) {
    const std::tuple<int, int, int> cases[] = {
        {2400, 1080, 320}, {3200, 1440, 400}, {1600, 720, 240},  {1280, 720, 240},  {960, 540, 160},
        {1920, 1080, 280}, {2560, 1440, 320}, {3840, 2160, 540}, {720, 1280, 320},  {540, 960, 240},
        {480, 800, 160},   {1080, 1920, 480}, {1440, 2560, 640}, {2160, 3840, 960}, {1200, 1200, 320}};
    for (const auto& [w, h, dpi] : cases) EXPECT_EQ(dpiFor(w, h), dpi) << w << "x" << h;
}

// Without SMT cores S is the core count; below 4 cores the logical count stands in.
TEST(InstanceDefaults, CpuCountFromProcessorTopology) {
    const std::pair<platform::ProcessorTopology, int> cases[] = {
        {{16, 8, 8, true}, 6}, {{10, 5, 5, true}, 5}, {{8, 4, 4, true}, 4},  {{8, 8, 0, true}, 6},
        {{4, 2, 2, true}, 4},  {{3, 3, 0, true}, 3},  {{2, 2, 0, false}, 2}, {{1, 1, 0, false}, 1}};
    for (const auto& [topology, expected] : cases)
        EXPECT_EQ(cpuCount(topology), expected) << topology.logicalProcessors << "/" << topology.cores;
}

TEST(InstanceDefaults, MemoryByInstalledMemory) {
    const std::pair<int, int> cases[] = {{32768, 6144}, {15361, 6144}, {15360, 4096}, {8192, 3072},
                                         {4096, 2048},  {3000, 1024},  {2560, 768}};
    for (const auto& [installed, expected] : cases) EXPECT_EQ(memoryMb(installed), expected) << installed;
}

TEST(InstanceKeys, TableDefaultsAndLineDependentRootMode) {
    using namespace common::keys;
    EXPECT_EQ(boolDefault("basicSettings.rootMode", KV_PRODUCT_71_32), true);
    EXPECT_EQ(boolDefault("basicSettings.rootMode", KV_PRODUCT_9), false);
    EXPECT_EQ(boolDefault("basicSettings.rootMode", KV_PRODUCT_14), false);
    EXPECT_EQ(boolDefault("basicSettings.autoRotate", KV_PRODUCT_9), true);
    EXPECT_FALSE(boolDefault("nonsense", KV_PRODUCT_9));

    common::ConfigDocument doc;
    EXPECT_EQ(readMouseFastOpt(doc), 0);
    doc.setBool(kMouseFastOptOld, true);
    EXPECT_EQ(readMouseFastOpt(doc), 1);
    doc.setInt(kMouseFastOptNew, -1);
    EXPECT_EQ(readMouseFastOpt(doc), 1);
    doc.setInt(kMouseFastOptNew, 0);
    EXPECT_EQ(readMouseFastOpt(doc), 0);
}
