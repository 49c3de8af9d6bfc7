// The instance settings dialog on kvmulti.exe, driven from another process through Active Accessibility
// (kvacc.exe): opened from an instance's menu, one setting changed and saved; the configuration file carries
// the change and keeps every other key, and the auto-start entry names the line's console. Resolution,
// processors and a hot key changed for one instance show in its row; one setting applied to three chosen
// instances at once reaches all three files and ends with its notice.

#include <windows.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "WinTestMain.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::installLine;
using testing_support::readFile;
using testing_support::waitUntil;
using testing_support::writeText;

namespace {

constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const wchar_t* kRunValue = L"KVPlayer14";

std::wstring runValue() {
    wchar_t text[1024]{};
    DWORD bytes = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKey, kRunValue, RRF_RT_REG_SZ, nullptr, text, &bytes) != ERROR_SUCCESS)
        return {};
    return text;
}

void removeRunValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueW(key, kRunValue);
    RegCloseKey(key);
}

class SettingsWin : public testing_support::ManagerWin {
protected:
    std::filesystem::path config = line14 / "vms" / "config" / "vantor0.config";

    void SetUp() override {
        removeRunValue();
        prepareProgram();
        installLine(line14, L"14", 3);
    }
    void TearDown() override {
        closeManager();
        removeRunValue();
    }
    // Pressing waits for the control: a window that was just asked to open may not be there yet.
    bool press(const std::wstring& what) {
        return waitUntil([&] { return kvacc(L"press " + what).exitCode == 0; }, 20s);
    }
    bool inDialog(const std::wstring& control) { return press(control + L" --class KVPlayerSettingFrame"); }
    std::string getInDialog(const std::wstring& control) {
        return kvacc(L"get " + control + L" --class KVPlayerSettingFrame").output;
    }
    HWND waitForDialog() {
        HWND dialog = nullptr;
        waitUntil([&] { return (dialog = FindWindowW(L"KVPlayerSettingFrame", nullptr)) && IsWindowVisible(dialog); });
        return dialog;
    }
    // A key pressed in the control that has the dialog's keyboard focus, as the keyboard would send it (no
    // modifier held).
    bool keyInto(HWND dialog, const std::wstring& control, WPARAM key) {
        if (!waitUntil([&] { return kvacc(L"focus " + control + L" --class KVPlayerSettingFrame").exitCode == 0; }))
            return false;
        return PostMessageW(dialog, WM_KEYDOWN, key, 1) && PostMessageW(dialog, WM_KEYUP, key, 0xC0000001);
    }
    static rapidjson::Document parsed(const std::filesystem::path& file) {
        rapidjson::Document doc;
        doc.Parse(readFile(file).c_str());
        if (doc.HasParseError() || !doc.IsObject()) doc.SetObject();
        return doc;
    }
    static int intOf(const rapidjson::Document& doc, const char* key) {
        return doc.HasMember(key) && doc[key].IsInt() ? doc[key].GetInt() : -1;
    }
};

TEST_F(SettingsWin, AutoStartTurnedOnFromTheInstanceMenuIsSavedAndEveryOtherKeyStays) {
    // Keys of ours and one nobody here knows, each written as another program of the suite might; with a
    // phone identity already there, loading the file adds nothing to it.
    writeText(config, R"({"statusSettings.playerName": "demo 0", "basicSettings.cpuCount": 4,)"
                      R"( "vendorSettings.unknown": {"kept": [1, 2]}, "basicSettings.autoRun": false,)"
                      R"( "propertySettings.phoneModel": "M1", "propertySettings.phoneManufacturer": "Maker",)"
                      R"( "propertySettings.phoneIMEI": "490154203237518"})");
    ASSERT_NO_FATAL_FAILURE(startManager());

    ASSERT_TRUE(press(L"moreBtn --row 0"));
    ASSERT_TRUE(press(L"setup --class KVMultiMenu"));
    ASSERT_TRUE(waitUntil([] {
        const HWND dialog = FindWindowW(L"KVPlayerSettingFrame", nullptr);
        return dialog && IsWindowVisible(dialog);
    }));
    EXPECT_FALSE(IsWindowEnabled(window)) << "the dialog is modal over the main window";
    ASSERT_TRUE(press(L"basicsettingbtn --class KVPlayerSettingFrame"));
    ASSERT_TRUE(press(L"autoRunOnOpt --class KVPlayerSettingFrame"));
    ASSERT_TRUE(press(L"savebtn --class KVPlayerSettingFrame"));

    rapidjson::Document doc;
    ASSERT_TRUE(waitUntil([&] {
        doc.Parse(readFile(config).c_str());
        return !doc.HasParseError() && doc.IsObject() && doc.HasMember("basicSettings.autoRun") &&
               doc["basicSettings.autoRun"].IsBool() && doc["basicSettings.autoRun"].GetBool();
    })) << readFile(config);
    EXPECT_EQ(doc.MemberCount(), 7u) << readFile(config);
    EXPECT_STREQ(doc["statusSettings.playerName"].GetString(), "demo 0");
    EXPECT_STREQ(doc["propertySettings.phoneIMEI"].GetString(), "490154203237518");
    EXPECT_EQ(doc["basicSettings.cpuCount"].GetInt(), 4);
    ASSERT_TRUE(doc["vendorSettings.unknown"].IsObject());
    EXPECT_EQ(doc["vendorSettings.unknown"]["kept"].Size(), 2u);
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(window) != FALSE; })) << "the main window has its input back";

    const std::wstring expected = L"\"" + (line14 / L"kvconsole.exe").wstring() + L"\" autorun";
    EXPECT_TRUE(waitUntil([&] { return _wcsicmp(runValue().c_str(), expected.c_str()) == 0; }, 5s))
        << testing::PrintToString(runValue()) << " is not " << testing::PrintToString(expected);
}

// Processors move from 4 to the next offered count, 6; F7 alone is no other hot key's default.
TEST_F(SettingsWin, ResolutionProcessorsAndAHotKeyAreSavedAndTheRowShowsThem) {
    writeText(config, R"({"statusSettings.playerName": "demo 0", "advancedSettings.cpuCount": 4,)"
                      R"( "advancedSettings.resolution": {"width": 1280, "height": 720}, "x.unknown": [1],)"
                      R"( "propertySettings.phoneModel": "M1", "propertySettings.phoneManufacturer": "Maker",)"
                      R"( "propertySettings.phoneIMEI": "490154203237518"})");
    ASSERT_NO_FATAL_FAILURE(startManager());
    ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2"})) << testing::PrintToString(rows());
    const std::string cpuShownBefore = kvacc(L"get labelCpuMemoryInfo --row 0").output;
    ASSERT_TRUE(press(L"btnSettingVm --row 0"));
    const HWND dialog = waitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(inDialog(L"opt1920x1080"));
    ASSERT_TRUE(inDialog(L"advancedsettingbtn"));
    ASSERT_TRUE(keyInto(dialog, L"cpucombo", VK_DOWN));
    EXPECT_TRUE(waitUntil([&] { return getInDialog(L"cpucombo").find('6') != std::string::npos; }))
        << getInDialog(L"cpucombo");
    ASSERT_TRUE(inDialog(L"hotkeysettingbtn"));
    ASSERT_TRUE(keyInto(dialog, L"homekey", VK_F7));
    EXPECT_TRUE(waitUntil([&] { return getInDialog(L"homekey").find("F7") != std::string::npos; }))
        << getInDialog(L"homekey");
    // The shared-folder size window opens over the dialog and leaves it again.
    ASSERT_TRUE(inDialog(L"distSettingBtn"));
    ASSERT_TRUE(inDialog(L"manualSizeOption"));
    ASSERT_TRUE(inDialog(L"fsMoreSizeBtn"));
    ASSERT_TRUE(pressIn(L"RQFSMoreFrame", L"cancelbtn"));
    EXPECT_TRUE(waitUntil([] { return !IsWindowVisible(FindWindowW(L"RQFSMoreFrame", nullptr)); }));
    ASSERT_TRUE(inDialog(L"savebtn"));

    rapidjson::Document doc;
    ASSERT_TRUE(waitUntil([&] {
        doc = parsed(config);
        return intOf(doc, "advancedSettings.cpuCount") == 6;
    })) << readFile(config);
    ASSERT_TRUE(doc["advancedSettings.resolution"].IsObject());
    EXPECT_EQ(doc["advancedSettings.resolution"]["width"].GetInt(), 1920);
    EXPECT_EQ(doc["advancedSettings.resolution"]["height"].GetInt(), 1080);
    ASSERT_TRUE(doc.HasMember("hotkeySettings.homeKey") && doc["hotkeySettings.homeKey"].IsObject())
        << readFile(config);
    EXPECT_EQ(doc["hotkeySettings.homeKey"]["key"].GetInt(), VK_F7);
    EXPECT_EQ(doc["hotkeySettings.homeKey"]["modifiers"].GetInt(), 0);
    EXPECT_TRUE(doc.HasMember("x.unknown"));
    std::string resolution, cpu;
    EXPECT_TRUE(waitUntil([&] {
        resolution = kvacc(L"get labelResolutionInfo --row 0").output;
        cpu = kvacc(L"get labelCpuMemoryInfo --row 0").output;
        return resolution.find("1920") != std::string::npos && cpu != cpuShownBefore;
    })) << resolution
        << " / " << cpu << " was " << cpuShownBefore;
}

// Only the checked processor row is applied; the resolution changed beside it stays in the dialog.
TEST_F(SettingsWin, ASettingAppliedToThreeChosenInstancesReachesEveryFileAndEndsWithItsNotice) {
    const auto configOf = [&](int i) { return line14 / "vms" / "config" / ("vantor" + std::to_string(i) + ".config"); };
    for (int i = 0; i < 3; ++i)
        writeText(configOf(i), R"({"statusSettings.playerName": "demo )" + std::to_string(i) +
                                   R"(", "advancedSettings.cpuCount": 4, "propertySettings.phoneModel": "M1",)"
                                   R"( "propertySettings.phoneManufacturer": "Maker",)"
                                   R"( "propertySettings.phoneIMEI": "490154203237518"})");
    ASSERT_NO_FATAL_FAILURE(startManager());
    ASSERT_TRUE(rowsBecome({"demo 0", "demo 1", "demo 2"})) << testing::PrintToString(rows());
    for (int row : {0, 1, 2}) ASSERT_TRUE(press(L"--row " + std::to_wstring(row)));
    ASSERT_TRUE(waitUntil([&] { return kvacc(L"get btnSelAll").output.find('3') != std::string::npos; }));
    ASSERT_TRUE(press(L"btnBatchMore"));
    ASSERT_TRUE(pressIn(L"KVMultiMenu", L"MENU_BATCH"));
    const HWND dialog = waitForDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(inDialog(L"opt1920x1080")); // not checked: not applied
    ASSERT_TRUE(inDialog(L"advancedsettingbtn"));
    ASSERT_TRUE(inDialog(L"cpuTitleOption"));
    ASSERT_TRUE(keyInto(dialog, L"cpucombo", VK_DOWN));
    ASSERT_TRUE(waitUntil([&] { return getInDialog(L"cpucombo").find('6') != std::string::npos; }));
    ASSERT_TRUE(inDialog(L"savebtn"));

    EXPECT_TRUE(waitUntil([&] {
        for (int i = 0; i < 3; ++i)
            if (intOf(parsed(configOf(i)), "advancedSettings.cpuCount") != 6) return false;
        return true;
    })) << readFile(configOf(0))
        << readFile(configOf(1)) << readFile(configOf(2));
    for (int i = 0; i < 3; ++i) {
        const rapidjson::Document doc = parsed(configOf(i));
        EXPECT_FALSE(doc.HasMember("advancedSettings.resolution")) << i;
        EXPECT_STREQ(doc["statusSettings.playerName"].GetString(), ("demo " + std::to_string(i)).c_str());
    }
    ASSERT_TRUE(pressIn(L"KVMultiMessageBox", L"msgbtn0")) << "the batch end is told";
}

} // namespace
