#include "core/log/LogStream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string printfHeader(const platform::LocalTime& t, unsigned tid, const char* fn, int line) {
    char buf[512];
    std::snprintf(buf, sizeof buf, "%02d-%02d\t%02d:%02d:%02d.%03d\t%04d\t%s\t(%d):", t.month, t.day, t.hour, t.minute,
                  t.second, t.millisecond, static_cast<int>(tid), fn, line);
    return buf;
}

} // namespace

TEST(LogStream, HeaderEqualsThePrintfFormat) {
    const platform::LocalTime cases[] = {{2026, 1, 2, 3, 4, 5, 6}, {2026, 12, 31, 23, 59, 59, 999}};
    for (const auto& t : cases) {
        for (unsigned tid : {7u, 1234u, 98765u}) {
            common::LogStream s;
            s.writeHeader(t, tid, "KVMultiModel::launch", 512);
            EXPECT_EQ(s.text(), printfHeader(t, tid, "KVMultiModel::launch", 512));
        }
    }
    common::LogStream s;
    s.writeHeader({2026, 1, 2, 3, 4, 5, 6}, 1, "f", -3);
    EXPECT_EQ(s.text(), printfHeader({2026, 1, 2, 3, 4, 5, 6}, 1, "f", -3));
}

TEST(LogStream, MessageIsUtf8AndTheLineEndsWithCrLf) {
    common::LogStream s;
    s.writeHeader({2026, 1, 2, 3, 4, 5, 6}, 42, "f", 1);
    s.writeUtf8(L"\u4E2D ok");
    s.finish();
    const std::string text(s.text());
    EXPECT_EQ(text.substr(text.size() - 8), "\xE4\xB8\xAD ok\r\n");
}

TEST(LogStream, OverLongMessageIsCutAtACharacterAndKeepsItsLineEnd) {
    common::LogStream s;
    s.writeHeader({2026, 1, 2, 3, 4, 5, 6}, 42, "f", 1);
    s.writeUtf8(std::wstring(6000, L'\u4E2D')); // 18000 bytes of UTF-8
    s.finish();
    s.finish(); // a second finish adds nothing
    const std::string_view text = s.text();
    EXPECT_LE(text.size(), common::LogStream::kCapacity);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    const std::size_t body = text.size() - 2 - text.find("):") - 2;
    EXPECT_EQ(body % 3, 0u) << "a character was split";
}
