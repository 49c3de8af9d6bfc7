#include "core/lang/LoadResources.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/lang/LanguageStrings.h"
#include "core/resources/RccWriter.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"

using namespace common::lang;
using testing_support::LogCapture;
using testing_support::TempDir;
using testing_support::writeFile;

namespace {

std::string table(const std::string& english) {
    return "\tlanguage_code\ten_US\tzh_CN\n\tlanguage_name\tEnglish\tChinese\n\tprompt\t" + english + "\tzh\n";
}

void writePack(const TempDir& dir, const std::string& tableBytes) {
    writeFile(dir / "rqresource.rcc", *common::rcc::buildPack({{"multi_language.tsv", tableBytes}}));
}

// "DPI", "IMEI": read the same in both languages.
bool isAcronym(const std::wstring& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9'); });
}

} // namespace

TEST(LoadResources, TheTableComesFromThePackWhenTheProgramFolderHasNone) {
    TempDir dir;
    writePack(dir, table("From pack"));
    loadResources(dir.path(), L"", L"en_US");
    EXPECT_EQ(resourceLanguage(), L"en_US");
    EXPECT_EQ(skinFolder(), dir.path() / "skin");
    EXPECT_TRUE(resourcePack().isOpen());
    EXPECT_EQ(lookUp(L"prompt"), L"From pack");
}

TEST(LoadResources, ATableInTheProgramFolderOverridesThePack) {
    TempDir dir;
    writePack(dir, table("From pack"));
    writeFile(dir / "multi_language.tsv", table("From folder"));
    loadResources(dir.path(), L"zh_CN", L"en_US");
    EXPECT_EQ(resourceLanguage(), L"zh_CN");
    EXPECT_EQ(lookUp(L"prompt"), L"zh");
    EXPECT_EQ(loadLanguageTable(dir.path(), resourcePack(), L"en_US").at(L"prompt"), L"From folder");
}

TEST(LoadResources, AnEmptyOrOversizedFolderTableLoadsNothingEvenWhenThePackHasOne) {
    TempDir dir;
    writePack(dir, table("From pack"));
    LogCapture log;
    writeFile(dir / "multi_language.tsv", "");
    loadResources(dir.path(), L"en_US", L"en_US");
    EXPECT_EQ(lookUp(L"prompt"), std::nullopt);
    writeFile(dir / "multi_language.tsv", table("x") + std::string(kMaxLanguageTableBytes, 'x'));
    loadResources(dir.path(), L"en_US", L"en_US");
    EXPECT_EQ(lookUp(L"prompt"), std::nullopt);
    EXPECT_TRUE(log.containsPart(L"no texts loaded"));
}

TEST(LoadResources, APackedTableOfTenBytesOrAMissingPackLoadsNothing) {
    TempDir dir;
    LogCapture log;
    loadResources(dir.path(), L"en_US", L"en_US");
    EXPECT_FALSE(resourcePack().isOpen());
    EXPECT_EQ(lookUp(L"prompt"), std::nullopt);
    writePack(dir, "0123456789");
    loadResources(dir.path(), L"en_US", L"en_US");
    EXPECT_TRUE(resourcePack().isOpen());
    EXPECT_EQ(lookUp(L"prompt"), std::nullopt);
    EXPECT_TRUE(log.containsPart(L"no language table in the resource pack"));
}

TEST(LanguageStrings, TheFallbackLookUpMakesAMissingKeyItsOwnText) {
    setLanguageStrings({{L"multi_new_groupName", L"Group "}});
    EXPECT_EQ(lookUpWithFallback(L"multi_new_groupName"), L"Group ");
    EXPECT_EQ(lookUp(L"absent"), std::nullopt);
    EXPECT_EQ(lookUpWithFallback(L"absent"), L"absent");
    EXPECT_EQ(lookUp(L"absent"), L"absent"); // inserted
}

// The table we ship: packed by the build, every key with an English and a Chinese text.
TEST(ShippedLanguageTable, ThePackBuiltForTheProgramHoldsTheTableWithEveryKeyInBothLanguages) {
    common::rcc::ResourcePack pack;
    ASSERT_TRUE(pack.open(KV_RESOURCE_PACK));
    const auto packed = pack.entry("multi_language.tsv");
    ASSERT_TRUE(packed.has_value());
    EXPECT_EQ(*packed, testing_support::readFile(KV_LANGUAGE_TABLE));
    EXPECT_TRUE(pack.entry("skin/README.txt").has_value());

    const auto english = parseLanguageTable(*packed, L"en_US");
    const auto chinese = parseLanguageTable(*packed, L"zh_CN");
    EXPECT_GT(english.size(), 100u);
    EXPECT_EQ(english.size(), chinese.size());
    for (const auto& [key, text] : english) {
        EXPECT_FALSE(text.empty()) << key.size();
        ASSERT_TRUE(chinese.count(key));
        EXPECT_FALSE(chinese.at(key).empty());
        if (!isAcronym(text)) {
            EXPECT_NE(chinese.at(key), text) << "an untranslated text";
        }
    }
    for (const wchar_t* key : {L"prompt", L"cancel", L"confirm", L"multi_new_groupName", L"multiplay_start_up"})
        EXPECT_TRUE(english.count(key)) << key;
}
