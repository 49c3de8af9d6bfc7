#include "core/text/Utf.h"

#include <gtest/gtest.h>

using namespace common::text;

TEST(Utf, RoundTripsEveryPlane) {
    const std::wstring wide = L"a\u00E9\u4E2D\U0001F600";
    const std::string utf8 = toUtf8(wide);
    EXPECT_EQ(utf8, "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80");
    EXPECT_EQ(fromUtf8(utf8), wide);
}

TEST(Utf, InvalidInputBecomesReplacementCharacters) {
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              L"a\uFFFD"
              L"b");
    EXPECT_EQ(fromUtf8("\xC0\xAF"), L"\uFFFD\uFFFD");           // overlong
    EXPECT_EQ(fromUtf8("\xE4\xB8"), L"\uFFFD\uFFFD");           // truncated
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), L"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    if (sizeof(wchar_t) == 2) {
        const wchar_t lone[] = {static_cast<wchar_t>(0xD800), L'x', 0};
        EXPECT_EQ(toUtf8(lone), "\xEF\xBF\xBDx");
    }
}

TEST(Utf, BoundedOutputNeverEndsInsideACharacter) {
    char buf[4];
    EXPECT_EQ(appendUtf8(buf, 4, L"ab\u4E2D"), 2u); // the 3-byte character does not fit in the last 2 bytes
    EXPECT_EQ(appendUtf8(buf, 4, L"a\u4E2D"), 4u);
    wchar_t wbuf[2];
    std::size_t consumed = 0;
    EXPECT_EQ(appendWide(wbuf, 2, "abc", &consumed), 2u);
    EXPECT_EQ(consumed, 2u);
}
