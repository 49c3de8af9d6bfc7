// The backup/restore window of kvmulti.exe with the real 7za.exe, driven from another process: its buttons
// through Active Accessibility (kvacc.exe), the system's file dialogs, which are standard controls without
// skin names, through their file-name field and OK button by control id (docs/WINE.md). An instance of line
// 14 is backed up without and with compression, changed, and restored from the second archive.

#include <windows.h>

#include <dlgs.h>
#include <gtest/gtest.h>

#include <string>

#include "WinTestMain.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::installLine;
using testing_support::readFile;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

constexpr const wchar_t* kWindow = L"KVMultiBackupRestoreWindow";

class BackupRestoreWin : public testing_support::ManagerWin {
protected:
    std::filesystem::path dataDisk = line14 / "vms" / "vantor0" / "data.vdi";
    std::filesystem::path backups = root.path() / "backups";
    // Repeated bytes: a compressed archive is far smaller than a stored one.
    std::string original = "original data " + std::string(1 << 20, 'o');

    void SetUp() override {
        prepareProgram();
        std::filesystem::copy_file(testing_support::arg(0).parent_path() / "7za.exe", program / "7za.exe");
        installLine(line14, L"14", 1);
        writeText(dataDisk, original);
        writeText(line14 / "vms" / "vantor0" / "sdcard.vdi", "sdcard");
        std::filesystem::create_directories(backups);
        startManager();
    }
    void TearDown() override { closeManager(); }

    // From the row's instance menu, as the row's own button shows only under the mouse.
    void openWindow() {
        ASSERT_TRUE(press(L"moreBtn --row 0"));
        ASSERT_TRUE(pressIn(L"KVMultiMenu", L"save"));
        ASSERT_TRUE(waitUntil([] { return IsWindowVisible(FindWindowW(kWindow, nullptr)) != FALSE; }, 10s));
    }
    // The file dialog the manager opened: its file name typed in and OK pressed, as a user would.
    void chooseFile(const std::filesystem::path& file) {
        HWND dialog = nullptr;
        ASSERT_TRUE(
            waitUntil([&] { return (dialog = FindWindowW(L"#32770", nullptr)) && IsWindowVisible(dialog); }, 20s));
        HWND name = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (name = fileNameEdit(dialog)) != nullptr; }, 10s));
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, 20s)) << "the dialog took the name";
    }
    // The Explorer-style dialog's name field: an edit of its own or the edit inside its name combo box.
    static HWND fileNameEdit(HWND dialog) {
        if (HWND edit = GetDlgItem(dialog, edt1); edit && IsWindowVisible(edit)) return edit;
        if (HWND combo = GetDlgItem(dialog, cmb13); combo && IsWindowVisible(combo)) {
            if (HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr)) return edit;
            return combo;
        }
        return nullptr;
    }
    // The window closed and the row shows the instance as stopped again: the archiver has ended.
    bool rowBackToNormal() {
        return !FindWindowW(kWindow, nullptr) || !IsWindowVisible(FindWindowW(kWindow, nullptr))
                   ? kvacc(L"get labelStatus --row 0").output == "Not running\n"
                   : false;
    }
    std::uintmax_t sizeOf(const std::filesystem::path& file) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        return ec ? 0 : size;
    }
};

TEST_F(BackupRestoreWin, BackedUpWithAndWithoutCompressionThenRestoredFromTheArchive) {
    openWindow();
    ASSERT_TRUE(pressIn(kWindow, L"backupBtn"));
    chooseFile(backups / "stored.kvbk");
    EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(backups / "stored.kvbk") && rowBackToNormal(); }, 60s));
    EXPECT_GT(sizeOf(backups / "stored.kvbk"), original.size()) << "stored, not compressed";

    openWindow();
    ASSERT_TRUE(pressIn(kWindow, L"useCompressOpt"));
    EXPECT_TRUE(waitUntil(
        [&] {
            return readFile(program / "vms" / "config" / "vantors.config").find("\"backupWithCompression\": true") !=
                   std::string::npos;
        },
        10s))
        << "the choice is kept in the manager's settings";
    ASSERT_TRUE(pressIn(kWindow, L"backupBtn"));
    chooseFile(backups / "packed.kvbk");
    EXPECT_TRUE(waitUntil([&] { return std::filesystem::exists(backups / "packed.kvbk") && rowBackToNormal(); }, 60s));
    const auto packed = sizeOf(backups / "packed.kvbk");
    EXPECT_GT(packed, 0u);
    EXPECT_LT(packed, original.size() / 10) << "compressed";

    writeText(dataDisk, "changed");
    openWindow();
    ASSERT_TRUE(pressIn(kWindow, L"restoreBtn"));
    chooseFile(backups / "packed.kvbk");
    EXPECT_TRUE(waitUntil([&] { return readFile(dataDisk) == original && rowBackToNormal(); }, 60s))
        << "the original bytes are back";
    EXPECT_EQ(readFile(line14 / "vms" / "vantor0" / "sdcard.vdi"), "sdcard");
}

// The setup dialog from the main menu: auto size unchecked (which unchecks keeping windows inside the
// screen) and saved into the manager's settings file and line 14's.
TEST_F(BackupRestoreWin, TheSetupDialogSavesIntoTheSettingsFiles) {
    ASSERT_TRUE(press(L"menuBtn"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"MENU_SETUP"));
    ASSERT_TRUE(pressIn(L"kvmulsetupframe", L"windowsAutoSizeOpt"));
    ASSERT_TRUE(pressIn(L"kvmulsetupframe", L"savebtn"));
    for (const auto& folder : {program, line14}) {
        const auto file = folder / "vms" / "config" / "vantors.config";
        std::string text;
        EXPECT_TRUE(waitUntil(
            [&] { return (text = readFile(file)).find("\"windowsAutoSize\": false") != std::string::npos; }, 10s))
            << file.string() << "\n"
            << text;
        EXPECT_NE(text.find("\"sortwndnotoutscreen\": false"), std::string::npos) << text;
        EXPECT_NE(text.find("\"batchStartInterval\": 5"), std::string::npos) << text;
    }
    EXPECT_FALSE(IsWindowVisible(FindWindowW(L"kvmulsetupframe", nullptr)));
}

} // namespace
