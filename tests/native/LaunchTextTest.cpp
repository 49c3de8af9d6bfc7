#include "core/storage/LaunchText.h"

#include <gtest/gtest.h>

using namespace common;

TEST(LaunchText, TheSeparatorStaysWithoutExtraParameters) {
    EXPECT_EQ(playerParameterText(7, L""), L"index=7|");
    EXPECT_EQ(playerParameterText(12, L"monitor=65537"), L"index=12|monitor=65537");
}

TEST(LaunchText, CommandLineQuotesTheProgramAndAddsParametersOnlyWhenThereAreAny) {
    EXPECT_EQ(processCommandLine(L"C:/a b/x.exe", L"index=1|"), L"\"C:/a b/x.exe\" index=1|");
    EXPECT_EQ(processCommandLine(L"tskill.exe", L""), L"\"tskill.exe\"");
}

TEST(LaunchText, ACommandLineFitsTheBufferUpTo1023Characters) {
    EXPECT_TRUE(fitsCommandLineBuffer(std::wstring(1023, L'x')));
    EXPECT_FALSE(fitsCommandLineBuffer(std::wstring(1024, L'x')));
}
