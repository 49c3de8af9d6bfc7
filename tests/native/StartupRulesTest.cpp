#include "core/app/StartupRules.h"

#include <gtest/gtest.h>

TEST(StartupRules, ScaleFactorNeedsATallMonitorAndFollowsItsDpi) {
    EXPECT_EQ(app::displayScaleFactor(1080, 288), 1.0) << "1080 pixels high is never scaled";
    EXPECT_EQ(app::displayScaleFactor(1440, 192), 2.0);
    EXPECT_EQ(app::displayScaleFactor(1200, 192), 1.5) << "2.0 needs at least 1440 pixels";
    EXPECT_EQ(app::displayScaleFactor(2160, 144), 1.5);
    EXPECT_EQ(app::displayScaleFactor(2160, 143), 1.0);
    EXPECT_EQ(app::displayScaleFactor(2160, 0), 1.0) << "an unknown DPI does not scale";
}

TEST(StartupRules, PerMonitorAwarenessIsDroppedForPlainAndForExtremeDpi) {
    EXPECT_FALSE(app::keepPerMonitorAwareness(96, 96));
    EXPECT_TRUE(app::keepPerMonitorAwareness(96, 120));
    EXPECT_TRUE(app::keepPerMonitorAwareness(192, 192));
    EXPECT_FALSE(app::keepPerMonitorAwareness(193, 96));
    EXPECT_FALSE(app::keepPerMonitorAwareness(144, 240));
}

TEST(StartupRules, FontFileFollowsTheFaceAndNinePressesOfF9SelectRussian) {
    EXPECT_EQ(app::privateFontFor(L"Noto Sans").file, L"NotoSans-Regular.otf");
    EXPECT_EQ(app::privateFontFor(L"NanumGothicOTFLight").file, L"NanumGothicLight.otf");
    EXPECT_EQ(app::privateFontFor(L"Segoe UI").file, L"Roboto-Regular.otf");

    int position = -1;
    for (int press = 0; press < 9; ++press) position = app::nextDebugLanguagePosition(position);
    EXPECT_EQ(app::kDebugLanguages[static_cast<std::size_t>(position)], L"ru_RU");
    EXPECT_EQ(app::nextDebugLanguagePosition(18), 0);
    EXPECT_EQ(app::nextDebugLanguagePosition(-7), 0);
}
