#include "core/lang/LanguageProfile.h"

#include <gtest/gtest.h>

using namespace common::lang;

namespace {
int g_osCalls = 0;
std::uint16_t hongKong() {
    return ++g_osCalls, 3076;
}
std::uint16_t hindi() {
    return ++g_osCalls, 0x0439;
}
} // namespace

TEST(LanguageProfile, TheFirstNonEmptyRequestWinsAndTheSystemIsAskedOnlyWhenBothAreEmpty) {
    g_osCalls = 0;
    EXPECT_EQ(selectLanguage(L"ko_KR", L"ja_JP", &hongKong).code, L"ko_KR");
    EXPECT_EQ(selectLanguage(L"", L"ja_JP", &hongKong).code, L"ja_JP");
    EXPECT_EQ(g_osCalls, 0);
    EXPECT_EQ(selectLanguage(L"", L"", &hongKong).code, L"zh_TW");
    EXPECT_EQ(g_osCalls, 1);
    EXPECT_EQ(currentLanguageCode(), L"zh_TW");
    EXPECT_EQ(currentLanguageProfile().fontFace, L"Microsoft YaHei");
}

TEST(LanguageProfile, ACodeWithoutProfileKeepsItsCodeWithTheDefaultFontFace) {
    const LanguageProfile& hi = selectLanguage(L"", L"", &hindi);
    EXPECT_EQ(hi.code, L"hi_IN");
    EXPECT_EQ(hi.fontFace, L"Roboto");
    EXPECT_EQ(currentLanguageCode(), L"hi_IN");
    EXPECT_EQ(selectLanguage(L"xx_YY", L"", &hindi).code, L"xx_YY");
    EXPECT_EQ(defaultLanguageProfile().code, L"en_US"); // the default profile itself is never changed
}

TEST(LanguageProfile, AnUnknownSystemLanguageGivesTheDefaultFontFaceWithAnEmptyCode) {
    const auto profile = chooseLanguageProfile(L"", L"", L"");
    EXPECT_EQ(profile.code, L"");
    EXPECT_EQ(profile.fontFace, L"Roboto");
    EXPECT_EQ(findLanguageProfile(L"uk_UA"), nullptr);
    ASSERT_NE(findLanguageProfile(L"ko_KR"), nullptr);
    EXPECT_EQ(findLanguageProfile(L"ko_KR")->fontFace, L"NanumGothicOTFLight");
}
