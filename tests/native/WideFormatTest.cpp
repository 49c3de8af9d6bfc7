#include "core/log/WideFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>

using common::fmt::format;

TEST(WideFormat, LowerSIsWideAndUpperSIsNarrowAsOnWindows) {
    EXPECT_EQ(format(L"[%s|%S]", L"wide", "narrow"), L"[wide|narrow]");
    EXPECT_EQ(format(L"%s", std::wstring(L"w")), L"w");
    EXPECT_EQ(format(L"%hs %ls %ws", "a", L"b", L"c"), L"a b c");
}

TEST(WideFormat, AStringOfTheOtherWidthIsStillPrintedAsText) {
    EXPECT_EQ(format(L"%s/%S", "utf8 \xC3\xA9", L"w\u00E9"), L"utf8 \u00E9/w\u00E9");
}

TEST(WideFormat, IntegersFollowWindowsPrintf) {
    EXPECT_EQ(format(L"%d %i %u", -5, 7, 9u), L"-5 7 9");
    EXPECT_EQ(format(L"%08x %X %#x %o", 0xBEEFu, 255, 255, 8), L"0000beef FF 0xff 10");
    EXPECT_EQ(format(L"%lld %I64d %llu", -9000000000LL, INT64_MIN, UINT64_MAX),
              L"-9000000000 -9223372036854775808 18446744073709551615");
    EXPECT_EQ(format(L"[%5d|%-5d|%05d|%+d|% d|%.3d]", 42, 42, -42, 42, 42, 7), L"[   42|42   |-0042|+42| 42|007]");
}

TEST(WideFormat, NegativeValuesInUnsignedConversionsUseTheirOwnWidth) {
    EXPECT_EQ(format(L"%08x", -1), L"ffffffff");
    EXPECT_EQ(format(L"%x", static_cast<std::int16_t>(-1)), L"ffff");
    EXPECT_EQ(format(L"%llx", -1LL), L"ffffffffffffffff");
    EXPECT_EQ(format(L"%d", 0xFFFFFFFFu), L"-1"); // a DWORD error code read as int, as Windows does
}

TEST(WideFormat, PercentCharactersAndUnknownConversions) {
    EXPECT_EQ(format(L"100%% done"), L"100% done");
    EXPECT_EQ(format(L"%c%c", L'o', 'k'), L"ok");
    EXPECT_EQ(format(L"%y stays %d", 3), L"%y stays 3");
    EXPECT_EQ(format(L"trailing %"), L"trailing %");
}

TEST(WideFormat, FloatsAndPointers) {
    EXPECT_EQ(format(L"%.2f %g %e", 1.005, 0.5, 1000.0), L"1.00 0.5 1.000000e+03");
    EXPECT_EQ(format(L"%8.3f|%-8.1f|", 3.14159, 2.0), L"   3.142|2.0     |");
    EXPECT_EQ(format(L"%p", reinterpret_cast<void*>(0x12FF40)), L"000000000012FF40");
}

TEST(WideFormat, WidthAndPrecisionOfStrings) {
    EXPECT_EQ(format(L"[%6s|%-6s|%.2s|%.2S]", L"ab", L"ab", L"abcdef", "abcdef"), L"[    ab|ab    |ab|ab]");
    EXPECT_EQ(format(L"[%*d|%-*s]", 4, 1, 3, L"x"), L"[   1|x  ]");
}

TEST(WideFormat, MismatchedOrMissingArgumentsNeverReadGarbage) {
    EXPECT_EQ(format(L"%s", 12), L"12");
    EXPECT_EQ(format(L"%d", L"text"), L"text");
    EXPECT_EQ(format(L"%d and %d", 1), L"1 and ");
    EXPECT_EQ(format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(format(L"%S", static_cast<const char*>(nullptr)), L"(null)");
    EXPECT_EQ(format(L"%n%d", 5, 6), L"6");
}

TEST(WideFormat, OutputIsCutAtCapacityWithoutSplittingCharacters) {
    wchar_t buf[8];
    common::fmt::WideOut out(buf, 5);
    const common::fmt::Arg args[] = {common::fmt::makeArg(L"abcdefgh")};
    common::fmt::formatTo(out, L"%s", args, 1);
    EXPECT_TRUE(out.truncated());
    EXPECT_EQ(out.view(), L"abcde");

    // A character beyond the BMP (two UTF-16 units on Windows) is dropped whole, never halved.
    common::fmt::WideOut narrow(buf, 2);
    const common::fmt::Arg emoji[] = {common::fmt::makeArg("a\xF0\x9F\x98\x80")};
    common::fmt::formatTo(narrow, L"%S", emoji, 1);
    if (sizeof(wchar_t) == 2) {
        EXPECT_EQ(narrow.view(), L"a");
    } else {
        EXPECT_EQ(narrow.view().size(), 2u);
    }
    EXPECT_EQ(format(L"%10000d", 1).size(), 10000u);
}

enum class Line { A = 3 };

TEST(WideFormat, EnumsBoolsAndPathsAreAccepted) {
    EXPECT_EQ(format(L"%d %d", Line::A, true), L"3 1");
    EXPECT_EQ(format(L"%s", std::filesystem::path("dir") / "f.txt"),
              std::filesystem::path("dir/f.txt").make_preferred().wstring());
}
