// The resource pack the Windows build packs beside kvmulti.exe, loaded as the program loads it.

#include <gtest/gtest.h>

#include "WinTestMain.h"
#include "core/lang/LanguageStrings.h"
#include "core/lang/LoadResources.h"
#include "support/WinProcess_win.h"

TEST(ResourcesWin, ThePackBesideTheProgramGivesTheChineseAndEnglishTexts) {
    ASSERT_FALSE(testArguments().empty()) << "pass the path of kvmulti.exe";
    const auto programFolder = testing_support::windowsPathOf(testArguments()[0]).parent_path();
    common::lang::loadResources(programFolder, L"zh_CN", L"en_US");
    EXPECT_TRUE(common::lang::resourcePack().isOpen());
    EXPECT_EQ(common::lang::lookUp(L"prompt"), L"\u63d0\u793a");
    common::lang::loadResources(programFolder, L"", L"en_US");
    EXPECT_EQ(common::lang::lookUp(L"multiplay_start_up"), L"Start");
}
