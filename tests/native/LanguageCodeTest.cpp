#include "core/lang/LanguageCode.h"

#include <gtest/gtest.h>

using common::lang::languageCodeFromLangId;

TEST(LanguageCode, TraditionalChineseRegionsGiveZhTwAndEveryOtherChineseGivesZhCn) {
    for (const std::uint16_t id : {1028, 3076, 5124, 31748}) EXPECT_EQ(languageCodeFromLangId(id), L"zh_TW") << id;
    for (const std::uint16_t id : {0x0804, 0x1004, 0x0004, 0x7804})
        EXPECT_EQ(languageCodeFromLangId(id), L"zh_CN") << id;
}

TEST(LanguageCode, OtherLanguagesAreDecidedByTheirPrimaryLanguageOnly) {
    EXPECT_EQ(languageCodeFromLangId(0x0409), L"en_US");
    EXPECT_EQ(languageCodeFromLangId(0x0809), L"en_US"); // English (United Kingdom)
    EXPECT_EQ(languageCodeFromLangId(0x0416), L"pt_PT"); // Portuguese (Brazil)
    EXPECT_EQ(languageCodeFromLangId(0x0401), L"ar_IL"); // Arabic (Saudi Arabia)
}

TEST(LanguageCode, AnUnknownLanguageGivesTheEmptyCode) {
    EXPECT_EQ(languageCodeFromLangId(0x0413), L""); // Dutch
    EXPECT_EQ(languageCodeFromLangId(0), L"");
}
