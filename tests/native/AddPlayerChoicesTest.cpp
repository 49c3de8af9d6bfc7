// The add dialog's rules: presets read back, what small hosts are offered, and the settings each
// performance mode creates instances with.

#include <gtest/gtest.h>

#include "ui/main/AddPlayerChoices.h"

namespace {

using namespace mainui;

TEST(AddPlayerChoices, EveryPresetTextReadsBackAsItsResolution) {
    const std::vector<std::wstring> tablet = presetTexts(ResolutionMode::Tablet);
    const std::vector<std::wstring> phone = presetTexts(ResolutionMode::Phone);
    ASSERT_EQ(tablet.size(), 6u);
    ASSERT_EQ(phone.size(), 6u);
    EXPECT_EQ(tablet[1], L"1280 x 720 (DPI 240)");
    EXPECT_EQ(phone[5], L"2160 x 3840 (DPI 960)");
    EXPECT_EQ(parsePreset(tablet[0]), (Resolution{960, 540, 160}));
    EXPECT_EQ(parsePreset(tablet[5]), (Resolution{3840, 2160, 540}));
    EXPECT_EQ(parsePreset(phone[3]), (Resolution{1080, 1920, 480}));
    for (std::size_t i = 0; i < tablet.size(); ++i) {
        const auto t = parsePreset(tablet[i]);
        const auto p = parsePreset(phone[i]);
        ASSERT_TRUE(t && p) << i;
        EXPECT_EQ(t->width, p->height) << i; // the phone presets are the tablet ones turned upright
    }
    EXPECT_TRUE(presetTexts(ResolutionMode::Custom).empty());
}

TEST(AddPlayerChoices, TextsOfAnotherShapeAreNoPreset) {
    for (const wchar_t* text : {L"", L"1280x720 (DPI 240)", L"1280 x 720", L"1280 x 720 (DPI 240) ", L"a x b (DPI c)",
                                L"99999999999 x 1 (DPI 1)"})
        EXPECT_FALSE(parsePreset(text)) << text;
}

TEST(AddPlayerChoices, HostsAreOfferedWhatTheyCanCarry) {
    struct Case {
        int processors;
        std::vector<int> cpus;
        int preselectedCpu;
    };
    for (const Case& c : {Case{1, {1}, 0}, Case{2, {1, 2}, 1}, Case{4, {1, 2, 3, 4}, 3}, Case{7, {1, 2, 3, 4, 6}, 3},
                          Case{64, {1, 2, 3, 4, 6, 8}, 3}}) {
        EXPECT_EQ(offeredCpuCounts(c.processors), c.cpus) << c.processors;
        EXPECT_EQ(preselectedItem(kPreferredCpuItem, c.cpus.size()), c.preselectedCpu) << c.processors;
    }
    // Exactly 4096 MB is not enough for a 4096 MB instance.
    const std::vector<int> small{512, 768, 1024, 1536, 2048, 3072};
    EXPECT_EQ(offeredMemorySizes(4096), small);
    EXPECT_EQ(preselectedItem(kPreferredMemoryItem, small.size()), 5);
    EXPECT_EQ(offeredMemorySizes(4097).back(), 4096);
    EXPECT_EQ(offeredMemorySizes(16384).size(), 9u);
    EXPECT_TRUE(offeredMemorySizes(512).empty());
    EXPECT_EQ(preselectedItem(kPreferredMemoryItem, 0), -1);
}

TEST(AddPlayerChoices, EachPerformanceModeBuildsItsSetting) {
    AddChoices c{.product = KV_PRODUCT_14,
                 .resolution = {1920, 1080, 280},
                 .smallDisk = true,
                 .cpuCount = 4,
                 .memorySize = 4096,
                 .framesPerSecond = 90};
    c.performance = kBalanced;
    common::CloneSetting s = buildCloneSetting(c);
    EXPECT_TRUE(s.hasResolution);
    EXPECT_EQ(s.width, 1920);
    EXPECT_EQ(s.height, 1080);
    EXPECT_EQ(s.dpi, 280);
    EXPECT_TRUE(s.smallDisk);
    EXPECT_EQ(s.cpuCount, 4);
    EXPECT_EQ(s.memorySize, 4096);
    EXPECT_TRUE(s.hasFps);
    EXPECT_EQ(s.fps, 90);
    EXPECT_FALSE(s.hasVMemUsage);
    EXPECT_FALSE(s.hasReduceAudio);

    c.performance = kMulti;
    s = buildCloneSetting(c);
    EXPECT_TRUE(s.hasVMemUsage);
    EXPECT_EQ(s.vMemUsage, 2);
    EXPECT_EQ(s.fps, 90);
    EXPECT_FALSE(s.hasReduceAudio);

    c.performance = kMultiPro;
    s = buildCloneSetting(c);
    EXPECT_TRUE(s.hasVMemUsage);
    EXPECT_EQ(s.vMemUsage, 2);
    EXPECT_TRUE(s.hasFps);
    EXPECT_EQ(s.fps, 30);
    EXPECT_TRUE(s.hasReduceAudio);
    EXPECT_TRUE(s.reduceAudio);
}

TEST(AddPlayerChoices, OtherLinesCreateBalancedWhateverModeIsLeftOn) {
    for (KV_PRODUCT_TYPE product : {KV_PRODUCT_9, KV_PRODUCT_71_32}) {
        EXPECT_FALSE(allowsMultiModes(product));
        const common::CloneSetting s = buildCloneSetting({.product = product, .performance = kMultiPro});
        EXPECT_FALSE(s.hasVMemUsage) << product;
        EXPECT_FALSE(s.hasReduceAudio) << product;
        EXPECT_EQ(s.fps, 60) << product;
    }
    EXPECT_TRUE(allowsMultiModes(KV_PRODUCT_14));
}

TEST(AddPlayerChoices, CountsAndNumbersAreReadStrictly) {
    EXPECT_EQ(parseCount(L"3"), 3);
    EXPECT_EQ(parseCount(L" 12 "), 12);
    for (const wchar_t* bad : {L"", L"0", L"-2", L"2a", L"abc", L"10000", L"1.5"}) EXPECT_FALSE(parseCount(bad)) << bad;
    EXPECT_EQ(readNumber(L"720"), 720);
    EXPECT_EQ(readNumber(L" 0720 "), 720);
    EXPECT_EQ(readNumber(L"-5"), -5);
    EXPECT_EQ(readNumber(L"12a"), 0);
    EXPECT_EQ(readNumber(L""), 0);
}

TEST(AddPlayerChoices, FourGibibytesFreeIsJustEnough) {
    EXPECT_FALSE(lowDiskSpace(4294967296ull));
    EXPECT_TRUE(lowDiskSpace(4294967295ull));
    EXPECT_TRUE(countFits(4, 1000, 4000));
    EXPECT_FALSE(countFits(5, 1000, 4999));
    EXPECT_TRUE(countFits(100, 0, 0)); // a size not known yet does not refuse
}

} // namespace
