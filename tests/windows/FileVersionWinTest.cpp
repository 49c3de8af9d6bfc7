// Our version-resource reader against Windows' own GetFileVersionInfoW/VerQueryValueW (behind
// platform::win32::fileVersionText) on real programs: this test program (linked with a windres VERSIONINFO)
// and kvmulti.exe, which has resources but no version.

#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestMain.h"
#include "core/formats/PeVersion.h"
#include "platform/win32/model/FileVersion_win.h"
#include "support/WinProcess_win.h"

TEST(FileVersionWin, OurReaderAndWindowsAgreeOnProgramsWithAndWithoutAVersionResource) {
    ASSERT_FALSE(testArguments().empty()) << "pass the path of kvmulti.exe";
    const auto kvmulti = testing_support::windowsPathOf(testArguments()[0]);
    ASSERT_TRUE(std::filesystem::exists(kvmulti));
    EXPECT_EQ(common::formats::fileVersionText(testing_support::thisProgram()), L"14.0.1.2");
    EXPECT_EQ(platform::win32::fileVersionText(kvmulti), L"");
    for (const auto& file : {testing_support::thisProgram(), kvmulti})
        EXPECT_EQ(common::formats::fileVersionText(file), platform::win32::fileVersionText(file)) << file.string();
}
