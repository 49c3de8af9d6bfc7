// The stand-in's four generations are real executables for install discovery: each folder passes exactly the
// checks of the lines it stands for.

#include <windows.h>

#include <gtest/gtest.h>

#include "WinTestMain.h"
#include "core/model/VersionChecks.h"
#include "platform/win32/InstallSources_win.h"
#include "support/WinProcess_win.h"

namespace {

std::wstring standinFolder(const wchar_t* major) {
    return (testing_support::windowsPathOf(testArguments().at(0)) / major).wstring();
}

} // namespace

TEST(StandInVersions, EachGenerationPassesTheFolderChecksOfItsLines) {
    platform::win32::Win32InstallSources sources(L"C:\\nowhere");
    struct Case {
        const wchar_t* major;
        const wchar_t* version;
        bool line71or51, line9, line14;
    };
    // 14.x also passes the 7.1/5.1 check: only its first character "1" is compared with 9.
    for (const Case& c : {Case{L"14", L"14.0.20.0", true, false, true}, Case{L"9", L"9.0.60.0", false, true, false},
                          Case{L"5", L"5.1.2.0", true, false, false}, Case{L"3", L"3.127.1.0", true, false, false}}) {
        const std::wstring folder = standinFolder(c.major);
        EXPECT_EQ(sources.fileVersionText(model::playerExecutable(folder)), c.version);
        EXPECT_EQ(model::isPlayerPathIsRightFor4_5(sources, folder), c.line71or51) << c.major;
        EXPECT_EQ(model::isPlayer9PathIsRight(sources, folder), c.line9) << c.major;
        EXPECT_EQ(model::isPlayer14PathIsRight(sources, folder), c.line14) << c.major;
    }
}
