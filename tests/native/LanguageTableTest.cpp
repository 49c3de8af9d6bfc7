#include "core/lang/LanguageTable.h"

#include <gtest/gtest.h>

#include "support/LogCapture.h"

using common::lang::parseLanguageTable;
using testing_support::LogCapture;

namespace {
const std::string kHeader = "\tlanguage_code\ten_US\tzh_CN\tja_JP\n"
                            "\tlanguage_name\tEnglish\t\xE7\xAE\x80\xE4\xBD\x93\tJapanese\n";
}

TEST(LanguageTable, LoadsTheColumnOfTheResourceLanguage) {
    const auto map = parseLanguageTable(kHeader + "\tprompt\tPrompt\t\xE6\x8F\x90\xE7\xA4\xBA\tJP\n", L"zh_CN");
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.at(L"prompt"), L"\u63d0\u793a");
}

TEST(LanguageTable, AResourceLanguageThatIsNoColumnLoadsColumnTwo) {
    const auto map = parseLanguageTable(kHeader + "\tprompt\tPrompt\tx\ty\n", L"fr_FR");
    EXPECT_EQ(map.at(L"prompt"), L"Prompt");
}

TEST(LanguageTable, RowsShorterThanTheColumnAreSkippedAndTheFirstOfTwoEqualKeysStays) {
    const auto map = parseLanguageTable(kHeader + "\tshort\tA\tB\n\tfull\tA\tB\tC\n\tfull\tA\tB\tD\n", L"ja_JP");
    EXPECT_EQ(map.count(L"short"), 0u);
    EXPECT_EQ(map.at(L"full"), L"C");
}

TEST(LanguageTable, RowsEndAtCarriageReturnsLineFeedsOrBothAndReadingStopsAtAZeroByte) {
    const std::string header = "\tlanguage_code\ten_US\r\n\tlanguage_name\tEnglish\r";
    const std::string rows = "\na\tA\n\tb\tB\r\tc\tC\r\n" + std::string("\0\td\tD\n", 6) + "\te\tE\n";
    const auto map = parseLanguageTable(header + rows, L"en_US");
    EXPECT_EQ(map.size(), 2u);
    EXPECT_EQ(map.at(L"b"), L"B");
    EXPECT_EQ(map.at(L"c"), L"C");
}

TEST(LanguageTable, ATableWithoutALanguageNameRowLoadsNothingAndSaysSo) {
    LogCapture log;
    EXPECT_TRUE(parseLanguageTable("\tlanguage_code\ten_US\n\tnames\tEnglish\n\tk\tv\n", L"en_US").empty());
    EXPECT_TRUE(parseLanguageTable("only_one_cell\n\tlanguage_name\tEnglish\n\tk\tv\n", L"en_US").empty());
    EXPECT_TRUE(parseLanguageTable("", L"en_US").empty());
    EXPECT_TRUE(log.containsPart(L"nothing loaded"));
    // The code row need not say "language_code" when the names row is right.
    EXPECT_EQ(parseLanguageTable("\tcodes\ten_US\n\tlanguage_name\tEnglish\n\tk\tv\n", L"en_US").size(), 1u);
}

TEST(LanguageTable, RowsWithBytesThatAreNotUtf8AreSkippedWithALogLineAndABomIsIgnored) {
    LogCapture log;
    const std::string table = "\xEF\xBB\xBF" + kHeader + "\tbad\t\xC3\x28\tx\ty\n\tlone\t\xED\xA0\x80\tx\ty\n" +
                              "\tcut\tx\xE6\x8F\n\tgood\tok\tx\ty\n";
    const auto map = parseLanguageTable(table, L"en_US");
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(map.at(L"good"), L"ok");
    EXPECT_TRUE(log.containsPart(L"not UTF-8"));
}

TEST(LanguageTable, AHundredThousandColumnsAreReadWithoutTrouble) {
    std::string codes = "\tlanguage_code";
    for (int i = 0; i < 100000; ++i) codes += "\tc" + std::to_string(i);
    std::string row = "\tkey";
    for (int i = 0; i < 100000; ++i) row += "\tt" + std::to_string(i);
    const std::string table = codes + "\n\tlanguage_name\tx\n" + row + "\n\tshort\ta\n";
    const auto map = parseLanguageTable(table, L"c99999");
    ASSERT_EQ(map.size(), 1u);
    EXPECT_EQ(map.at(L"key"), L"t99999");
}
