#pragma once
// The fixture of the Windows tests that drive the manager from outside, as a user would: a program folder of
// its own (kvmulti.exe, kvacc.exe, the resource pack and the fonts) beside an install folder of line 14, the
// manager started from it, kvacc runs that read and press its controls, and at the end the manager closed and
// the stand-ins it started ended by their process ids.

#include <windows.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/geometry/Geometry.h"
#include "core/product/ProductLine.h"
#include "support/ManagerInstall_win.h"
#include "support/WinProcess_win.h"

namespace testing_support {

// A file's bytes, read while the manager may still hold it open for writing (its log, for example).
inline std::string fileText(const std::filesystem::path& file) {
    std::string text;
    if (HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        h != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0) text.append(buffer, read);
        CloseHandle(h);
    }
    return text;
}

// Another process's window rectangle, and a rectangle as a failure message shows it.
inline geometry::Rect rectOf(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return {r.left, r.top, r.right, r.bottom};
}
inline std::string text(const geometry::Rect& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

class ManagerWin : public testing::Test {
protected:
    WinTempDir root;
    std::filesystem::path program = root.path() / "program";
    std::filesystem::path line14 = root.path() / "Android14";
    ChildProcess manager;
    HWND window = nullptr;

    // The program folder, and "pathconfig.ini" naming line 14's install folder.
    void prepareProgram() {
        ASSERT_GE(testArguments().size(), 2u) << "pass kvmulti.exe and the stand-in folder";
        std::filesystem::create_directories(program / "data");
        for (const char* file : {"kvmulti.exe", "kvacc.exe", "rqresource.rcc"})
            std::filesystem::copy_file(arg(0).parent_path() / file, program / file);
        std::filesystem::copy(arg(0).parent_path() / "fonts", program / "fonts");
        writeText(program / "pathconfig.ini", "[setting]\r\nplayer14=" + line14.string() + "\r\n");
    }
    void startManager() {
        ASSERT_TRUE(manager.start(program / "kvmulti.exe"));
        window = manager.waitForWindow(L"KVRemoteLoginFrame", std::chrono::seconds(30));
        ASSERT_NE(window, nullptr);
    }
    // Closes the manager, then ends the stand-ins of line 14 below `standIns` that are still running.
    void closeManager(int standIns = 0) {
        if (window && IsWindow(window)) PostMessageW(window, WM_CLOSE, 0, 0);
        window = nullptr;
        manager.waitForExit(std::chrono::seconds(20));
        for (int index = 0; index < standIns; ++index) {
            const std::wstring endpoint =
                product::expandPattern(product::productLine(KV_PRODUCT_14).windowClassPattern, index);
            HWND w = FindWindowW(endpoint.c_str(), nullptr);
            DWORD pid = 0;
            if (!w || !GetWindowThreadProcessId(w, &pid)) continue;
            if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
                TerminateProcess(p, 1);
                WaitForSingleObject(p, 10000);
                CloseHandle(p);
            }
        }
    }

    CapturedRun kvacc(const std::wstring& arguments) { return runCaptured(program / "kvacc.exe", arguments); }
    bool press(const std::wstring& what) { return kvacc(L"press " + what).exitCode == 0; }
    HWND waitForClass(const wchar_t* className) {
        HWND found = nullptr;
        waitUntil([&] { return (found = FindWindowW(className, nullptr)) != nullptr; }, std::chrono::seconds(10));
        return found;
    }
    // A popup of the manager (a menu, a message box, a dialog) opens; then its control is pressed.
    bool pressIn(const wchar_t* className, const std::wstring& control) {
        if (!waitForClass(className)) {
            ADD_FAILURE() << "no window of class " << testing::PrintToString(std::wstring(className));
            return false;
        }
        const auto run = kvacc(L"press " + control + L" --class " + className);
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        return run.exitCode == 0;
    }

    // The accessible names of the list's rows as the main window shows them now.
    std::vector<std::string> rows() {
        const auto run = kvacc(L"list --class KVRemoteLoginFrame");
        rapidjson::Document doc;
        doc.Parse(run.output.c_str());
        std::vector<std::string> names;
        if (doc.HasParseError() || !doc.IsArray() || doc.Empty()) return names;
        std::vector<const rapidjson::Value*> pending{&doc[0]["tree"]};
        while (!pending.empty()) {
            const rapidjson::Value* node = pending.back();
            pending.pop_back();
            if (node->HasMember("help") && std::string((*node)["help"].GetString()) == "listVm") {
                if (node->HasMember("children"))
                    for (const auto& row : (*node)["children"].GetArray())
                        names.push_back(row.HasMember("name") ? row["name"].GetString() : "");
                return names;
            }
            if (node->HasMember("children"))
                for (const auto& child : (*node)["children"].GetArray()) pending.push_back(&child);
        }
        return names;
    }
    bool rowsBecome(const std::vector<std::string>& expected) {
        return waitUntil([&] { return rows() == expected; }, std::chrono::seconds(20));
    }
};

} // namespace testing_support
