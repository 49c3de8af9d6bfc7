// The instance settings dialog on kvmulti.exe, driven from another process through Active Accessibility
// (kvacc.exe): opened from an instance's menu, one setting changed and saved; the configuration file carries
// the change and keeps every other key, and the auto-start entry names the line's console.

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
        installLine(line14, L"14", 1);
    }
    void TearDown() override {
        closeManager();
        removeRunValue();
    }
    // Pressing waits for the control: a window that was just asked to open may not be there yet.
    bool press(const std::wstring& what) {
        return waitUntil([&] { return kvacc(L"press " + what).exitCode == 0; }, 20s);
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

} // namespace
