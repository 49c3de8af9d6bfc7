#include "core/storage/InstanceDefaults.h"

#include <gtest/gtest.h>

#include "core/storage/InstanceKeys.h"

using namespace common::defaults;
using common::Resolution;

TEST(InstanceDefaults, ResolutionOfIndexZeroFollowsTheScreenOthersAre1280x720) {
    EXPECT_EQ(resolutionFor(0, 3840), (Resolution{2560, 1440}));
    EXPECT_EQ(resolutionFor(0, 3200), (Resolution{2560, 1440}));
    EXPECT_EQ(resolutionFor(0, 2560), (Resolution{1920, 1080}));
    EXPECT_EQ(resolutionFor(0, 1920), (Resolution{1600, 900}));
    EXPECT_EQ(resolutionFor(0, 1600), (Resolution{1280, 720}));
    EXPECT_EQ(resolutionFor(0, 1599), (Resolution{960, 540}));
    EXPECT_EQ(resolutionFor(5, 3840), (Resolution{1280, 720}));
    EXPECT_EQ(resolutionFor(-1, 3840), (Resolution{1280, 720}));
}

TEST(InstanceDefaults, DpiBySpecialSizesThenByArea) {
    EXPECT_EQ(dpiFor(2400, 1080), 320);
    EXPECT_EQ(dpiFor(3200, 1440), 400);
    EXPECT_EQ(dpiFor(1600, 720), 240);
    EXPECT_EQ(dpiFor(1280, 720), 240); // landscape, 921600
    EXPECT_EQ(dpiFor(960, 540), 160);
    EXPECT_EQ(dpiFor(1920, 1080), 280);
    EXPECT_EQ(dpiFor(2560, 1440), 320);
    EXPECT_EQ(dpiFor(3840, 2160), 540);
    EXPECT_EQ(dpiFor(720, 1280), 320); // portrait, 921600: none of the bands
    EXPECT_EQ(dpiFor(540, 960), 240);
    EXPECT_EQ(dpiFor(480, 800), 160);
    EXPECT_EQ(dpiFor(1080, 1920), 480);
    EXPECT_EQ(dpiFor(1440, 2560), 640);
    EXPECT_EQ(dpiFor(2160, 3840), 960);
    EXPECT_EQ(dpiFor(1200, 1200), 320);
}

TEST(InstanceDefaults, CpuCountFromProcessorTopology) {
    EXPECT_EQ(cpuCount({16, 8, 8, true}), 6);
    EXPECT_EQ(cpuCount({10, 5, 5, true}), 5);
    EXPECT_EQ(cpuCount({8, 4, 4, true}), 4);
    EXPECT_EQ(cpuCount({8, 8, 0, true}), 6) << "no SMT cores: S is the core count";
    EXPECT_EQ(cpuCount({4, 2, 2, true}), 4) << "fewer than 4 cores: the logical count stands in";
    EXPECT_EQ(cpuCount({3, 3, 0, true}), 3);
    EXPECT_EQ(cpuCount({2, 2, 0, false}), 2);
    EXPECT_EQ(cpuCount({1, 1, 0, false}), 1);
}

TEST(InstanceDefaults, MemoryByInstalledMemory) {
    EXPECT_EQ(memoryMb(32768), 6144);
    EXPECT_EQ(memoryMb(15361), 6144);
    EXPECT_EQ(memoryMb(15360), 4096);
    EXPECT_EQ(memoryMb(8192), 3072);
    EXPECT_EQ(memoryMb(4096), 2048);
    EXPECT_EQ(memoryMb(3000), 1024);
    EXPECT_EQ(memoryMb(2560), 768);
}

TEST(InstanceKeys, TableDefaultsAndLineDependentRootMode) {
    using namespace common::keys;
    EXPECT_EQ(boolDefault("basicSettings.rootMode", KV_PRODUCT_71_32), true);
    EXPECT_EQ(boolDefault("basicSettings.rootMode", KV_PRODUCT_9), false);
    EXPECT_EQ(boolDefault("basicSettings.rootMode", KV_PRODUCT_14), false);
    EXPECT_EQ(boolDefault("basicSettings.autoRotate", KV_PRODUCT_9), true);
    EXPECT_FALSE(boolDefault("nonsense", KV_PRODUCT_9));
    EXPECT_EQ(intDefault("basicSettings.qjcjdisableMouseFast"), 1);
    EXPECT_EQ(hotkeyKeys().size(), 25u);
    EXPECT_EQ(hotkeyDefault("hotkeySettings.soundSubKey"), (common::CombineKey{2, 109}));

    common::ConfigDocument doc;
    EXPECT_EQ(readMouseFastOpt(doc), 0);
    doc.setBool(kMouseFastOptOld, true);
    EXPECT_EQ(readMouseFastOpt(doc), 1);
    doc.setInt(kMouseFastOptNew, -1);
    EXPECT_EQ(readMouseFastOpt(doc), 1);
    doc.setInt(kMouseFastOptNew, 0);
    EXPECT_EQ(readMouseFastOpt(doc), 0);
}
