// Our version-resource reader against Windows' own GetFileVersionInfoW/VerQueryValueW on real programs:
// this test program (linked with a windres VERSIONINFO) and kvmulti.exe.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "WinTestMain.h"
#include "core/formats/PeVersion.h"
#include "support/WinProcess_win.h"

using common::formats::FileVersion;
using testing_support::thisProgram;

namespace {

// What Windows reads from the file's fixed file information, or nothing when it has none.
std::optional<FileVersion> windowsFileVersion(const std::filesystem::path& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return std::nullopt;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || length < sizeof(*info))
        return std::nullopt;
    return FileVersion{HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                       LOWORD(info->dwFileVersionLS)};
}

} // namespace

TEST(FileVersionWin, OurReaderAndWindowsAgreeOnAProgramWithAVersionResource) {
    const auto ours = common::formats::readFileVersionOfFile(thisProgram());
    ASSERT_TRUE(ours.has_value());
    EXPECT_EQ(ours, windowsFileVersion(thisProgram()));
    EXPECT_EQ(common::formats::fileVersionText(thisProgram()), L"14.0.1.2");
}

TEST(FileVersionWin, OurReaderAndWindowsAgreeThatKvmultiHasNoVersionResource) {
    ASSERT_FALSE(testArguments().empty()) << "pass the path of kvmulti.exe";
    const auto kvmulti = testing_support::windowsPathOf(testArguments()[0]);
    ASSERT_TRUE(std::filesystem::exists(kvmulti));
    EXPECT_EQ(common::formats::readFileVersionOfFile(kvmulti), windowsFileVersion(kvmulti));
}
