// Install discovery against the real Windows pieces under Wine: registry, profile file, desktop folder,
// shortcut files and version resources.

#include <windows.h>

#include <gtest/gtest.h>

#include "core/model/KVMultiModel.h"
#include "platform/win32/model/InstallSources_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"
#include "platform/win32/model/ShortcutResolver_win.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "support/ShellLinks_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using platform::win32::Win32InstallSources;
using testing_support::saveShellLink;
using testing_support::thisProgram;
using testing_support::WinTempDir;

namespace {

// A registry key below HKEY_CURRENT_USER\Software that is removed again.
struct TestKey {
    std::wstring path = L"Software\\kvmulti-test\\" + std::to_wstring(GetCurrentProcessId());
    TestKey() {
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    }
    ~TestKey() {
        RegCloseKey(key);
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\kvmulti-test");
    }
    void setString(const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    HKEY key = nullptr;
};

} // namespace

TEST(InstallSourcesOnWindows, RegistryInstallDirIsReadFromTheCurrentUser) {
    TestKey key;
    key.setString(L"InstallDir", L"C:\\Program Files\\KV\\9");
    Win32InstallSources sources(L"C:\\nowhere");
    EXPECT_EQ(sources.registryInstallDir(key.path), L"C:\\Program Files\\KV\\9");
    EXPECT_EQ(sources.registryInstallDir(L"Software\\kvmulti-test\\absent"), L"");
    DWORD number = 5;
    RegSetValueExW(key.key, L"InstallDir", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    EXPECT_EQ(sources.registryInstallDir(key.path), L"") << "a value that is not text is no folder";
}

TEST(InstallSourcesOnWindows, PathConfigValuesAreReadAndWrittenBesideTheProgram) {
    WinTempDir dir;
    Win32InstallSources sources(dir.path());
    EXPECT_EQ(sources.readPathConfig(L"player9"), L"");
    EXPECT_TRUE(sources.writePathConfig(L"lastRun", L"2"));
    EXPECT_EQ(sources.readPathConfig(L"lastRun"), L"2");
    testing_support::writeFile(dir.path() / "pathconfig.ini", "\xFF\xFE garbage \x01\x02 [[[ = =\n");
    EXPECT_EQ(sources.readPathConfig(L"player9"), L"");
    EXPECT_FALSE(sources.desktopFolder().empty());
}

TEST(InstallSourcesOnWindows, ShortcutsResolveToTheirTargetAndOtherFilesAreRefused) {
    testing_support::ComApartment com;
    WinTempDir dir;
    const auto target = dir.path() / "line" / "rqplayer.exe";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(thisProgram(), target);
    ASSERT_TRUE(saveShellLink(dir.path() / "KVPlayer9.lnk", target));
    ASSERT_TRUE(saveShellLink(dir.path() / "UPPER.LNK", target));
    EXPECT_EQ(platform::win32::resolveShortcutFromFile(dir.path() / "KVPlayer9.lnk"), target);
    EXPECT_EQ(platform::win32::resolveShortcutFromFile(dir.path() / "UPPER.LNK"), target);
    std::filesystem::copy_file(dir.path() / "KVPlayer9.lnk", dir.path() / "copy.txt");
    EXPECT_TRUE(platform::win32::resolveShortcutFromFile(dir.path() / "copy.txt").empty());
    EXPECT_TRUE(platform::win32::resolveShortcutFromFile(L".lnk").empty());
    EXPECT_TRUE(platform::win32::resolveShortcutFromFile(dir.path() / "absent.lnk").empty());
}

// Config file and registry are plain reads, checked above; the desktop shortcut is where the real desktop
// folder, the link file and the version resource meet.
TEST(InstallSourcesOnWindows, DiscoveryFindsALineThroughItsDesktopShortcut) {
    testing_support::ComApartment com;
    WinTempDir program;
    WinTempDir installs;
    std::filesystem::create_directories(installs.path() / "line");
    std::filesystem::copy_file(thisProgram(), installs.path() / "line" / "rqplayer.exe"); // version 9.0.62.3
    Win32InstallSources sources(program.path());
    common::PlayerSet players;
    platform::win32::Win32InstanceDesktop instanceDesktop;
    platform::win32::Win32WindowSystem windows(program.path());
    const auto desktop = sources.desktopFolder();
    ASSERT_FALSE(desktop.empty());
    std::filesystem::create_directories(desktop);
    ASSERT_TRUE(saveShellLink(desktop / "KVPlayer9.lnk", installs.path() / "line" / "rqplayer.exe"));
    KVMultiModel model(players, sources, instanceDesktop, windows);
    std::wstring a, b, c, d, e;
    model.getPlayerPath(a, b, c, d, e);
    EXPECT_EQ(c, (installs.path() / "line").wstring());
    EXPECT_EQ(a + b + d + e, L"") << "the other lines stay uninstalled";
    std::filesystem::remove(desktop / "KVPlayer9.lnk");
}
