// kvmulti.exe driven from another process the way automation tools and screen readers drive it, through
// Active Accessibility: kvacc.exe lists the main window, starts an instance from its row, reads the row's
// status, answers the stop confirmation, and Tab raises focus events that a screen reader can follow.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "WinTestMain.h"
#include "core/product/ProductLine.h"
#include "support/ManagerInstall_win.h"
#include "support/ManagerWin_win.h"
#include "support/StandInHarness_win.h"
#include "support/TempDir.h"
#include "support/WinProcess_win.h"

using namespace std::chrono_literals;
using testing_support::installLine;
using testing_support::waitUntil;

namespace {

// The nodes of a `kvacc list` tree by their skin names, first occurrence first.
void collect(const rapidjson::Value& node, std::multimap<std::string, const rapidjson::Value*>& out) {
    if (node.HasMember("help")) out.emplace(node["help"].GetString(), &node);
    if (node.HasMember("children"))
        for (const auto& child : node["children"].GetArray()) collect(child, out);
}

bool hasState(const rapidjson::Value& node, const char* state) {
    for (const auto& s : node["state"].GetArray())
        if (std::string(s.GetString()) == state) return true;
    return false;
}

// EVENT_OBJECT_FOCUS of one process as a screen reader hears it: an in-context hook (win_focus_hook.dll, beside
// this program) posts each event to a message-only window here; the last one is resolved through
// AccessibleObjectFromEvent to the control's skin name.
class FocusEvents {
public:
    explicit FocusEvents(DWORD processId) {
        m_com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        WNDCLASSW wc{};
        wc.lpfnWndProc = &FocusEvents::proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KVTestFocusEvents";
        RegisterClassW(&wc);
        m_window = CreateWindowW(L"KVTestFocusEvents", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_library = LoadLibraryW((testing_support::thisProgram().parent_path() / "win_focus_hook.dll").c_str());
        const auto hook =
            reinterpret_cast<WINEVENTPROC>(reinterpret_cast<void*>(GetProcAddress(m_library, "kvFocusEventHook")));
        if (hook)
            m_hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, m_library, hook, processId, 0,
                                     WINEVENT_INCONTEXT);
    }
    ~FocusEvents() {
        if (m_hook) UnhookWinEvent(m_hook);
        if (m_window) DestroyWindow(m_window);
        if (m_library) FreeLibrary(m_library);
        if (m_com) CoUninitialize();
    }
    bool hooked() const { return m_window && m_hook; }
    std::size_t count() const { return m_events.size(); }
    // The skin name of the last event's control, read back from its window; empty when none came.
    std::wstring lastHelp() const {
        if (m_events.empty()) return {};
        const auto [hwnd, child] = m_events.back();
        IAccessible* object = nullptr;
        VARIANT id;
        VariantInit(&id);
        if (FAILED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(OBJID_CLIENT), static_cast<DWORD>(child), &object,
                                             &id)))
            return L"(unresolved)";
        BSTR help = nullptr;
        std::wstring out = SUCCEEDED(object->get_accHelp(id, &help)) && help ? help : L"";
        SysFreeString(help);
        VariantClear(&id);
        object->Release();
        return out;
    }
    HWND lastWindow() const { return m_events.empty() ? nullptr : m_events.back().first; }

private:
    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<FocusEvents*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (message == WM_APP && self)
            self->m_events.emplace_back(reinterpret_cast<HWND>(wParam), static_cast<LONG>(lParam));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    bool m_com = false;
    HWND m_window = nullptr;
    HMODULE m_library = nullptr;
    HWINEVENTHOOK m_hook = nullptr;
    std::vector<std::pair<HWND, LONG>> m_events;
};

class AccessibilityWin : public testing_support::ManagerWin {
protected:
    void SetUp() override {
        prepareProgram();
        installLine(line14, L"14", 3);
        startManager();
    }
    void TearDown() override { closeManager(3); }
    // `kvacc list` of one window class, parsed; the tree's nodes by skin name.
    bool listed(const wchar_t* className, rapidjson::Document& doc,
                std::multimap<std::string, const rapidjson::Value*>& nodes) {
        const auto run = kvacc(std::wstring(L"list --class ") + className);
        EXPECT_EQ(run.exitCode, 0u) << run.output;
        doc.Parse(run.output.c_str());
        if (doc.HasParseError() || !doc.IsArray() || doc.Empty() || !doc[0].HasMember("tree")) {
            ADD_FAILURE() << run.output;
            return false;
        }
        collect(doc[0]["tree"], nodes);
        return true;
    }
};

TEST_F(AccessibilityWin, KvaccListsStartsReadsAndAnswersTheManagerAndTheFocusFollowsTab) {
    const std::wstring mutex14 = product::expandPattern(product::productLine(KV_PRODUCT_14).mutexPattern, 1);
    const auto running = [&] {
        HANDLE h = OpenMutexW(SYNCHRONIZE, FALSE, mutex14.c_str());
        if (h) CloseHandle(h);
        return h != nullptr || GetLastError() == ERROR_ACCESS_DENIED;
    };

    rapidjson::Document doc;
    std::multimap<std::string, const rapidjson::Value*> nodes;
    ASSERT_TRUE(listed(L"KVRemoteLoginFrame", doc, nodes));
    EXPECT_STREQ(doc[0]["tree"]["role"].GetString(), "client");
    ASSERT_EQ(nodes.count("listVm"), 1u);
    const rapidjson::Value& list = *nodes.find("listVm")->second;
    EXPECT_STREQ(list["role"].GetString(), "list");
    ASSERT_TRUE(list.HasMember("children"));
    ASSERT_EQ(list["children"].Size(), 3u);
    EXPECT_STREQ(list["children"][1]["role"].GetString(), "list item");
    EXPECT_STREQ(list["children"][1]["name"].GetString(), "demo 1");
    ASSERT_EQ(nodes.count("startBtn"), 3u);
    const rapidjson::Value& start = *nodes.find("startBtn")->second;
    EXPECT_STREQ(start["role"].GetString(), "push button");
    EXPECT_STREQ(start["name"].GetString(), "Start");
    EXPECT_TRUE(hasState(start, "focusable"));
    EXPECT_STREQ(nodes.find("btnSettingVm")->second->operator[]("name").GetString(), "Settings") << "its tooltip";
    EXPECT_STREQ(nodes.find("labelStatus")->second->operator[]("name").GetString(), "Not running");

    const auto ambiguous = kvacc(L"press startBtn");
    EXPECT_EQ(ambiguous.exitCode, 2u) << "three rows have one";
    EXPECT_NE(ambiguous.output.find("choose one with --row"), std::string::npos) << ambiguous.output;
    EXPECT_EQ(kvacc(L"get startBtn --row 7").exitCode, 2u);

    const auto pressed = kvacc(L"press startBtn --row 1");
    ASSERT_EQ(pressed.exitCode, 0u) << pressed.output;
    ASSERT_TRUE(waitUntil(running, 30s)) << "the row's start button starts the stand-in";
    std::string status;
    EXPECT_TRUE(waitUntil([&] { return (status = kvacc(L"get labelStatus --row 1").output) == "Running\n"; }, 20s))
        << status;
    EXPECT_EQ(kvacc(L"get labelStatus --row 0").output, "Not running\n");

    // Stop asks first: the box is a dialog whose buttons kvacc reads and presses; the window below takes nothing.
    ASSERT_EQ(kvacc(L"press startBtn --row 1").exitCode, 0u);
    ASSERT_TRUE(waitUntil([&] { return FindWindowW(L"KVMultiMessageBox", nullptr) != nullptr; }, 10s));
    rapidjson::Document boxDoc;
    std::multimap<std::string, const rapidjson::Value*> box;
    ASSERT_TRUE(listed(L"KVMultiMessageBox", boxDoc, box));
    EXPECT_STREQ(boxDoc[0]["tree"]["role"].GetString(), "dialog");
    EXPECT_STREQ(boxDoc[0]["tree"]["name"].GetString(), "Prompt");
    ASSERT_EQ(box.count("msgbtn1"), 1u);
    EXPECT_STREQ(box.find("msgbtn0")->second->operator[]("name").GetString(), "Cancel");
    EXPECT_STREQ(box.find("msgbtn1")->second->operator[]("role").GetString(), "push button");
    EXPECT_STREQ(box.find("msgbtn1")->second->operator[]("name").GetString(), "OK");
    EXPECT_EQ(kvacc(L"press startBtn --row 1").exitCode, 3u) << "under a modal box";
    ASSERT_EQ(kvacc(L"press msgbtn1 --class KVMultiMessageBox").exitCode, 0u);
    EXPECT_TRUE(waitUntil([&] { return !running(); }, 30s)) << "confirm stops the instance";

    // The confirmation took the focus away; Tab gives it to the first control, then the next. Each move raises
    // a focus event whose child id the window resolves to that control, and its state says focused.
    FocusEvents events(manager.id());
    ASSERT_TRUE(events.hooked());
    const auto focused = [&](const char* name) {
        rapidjson::Document d;
        std::multimap<std::string, const rapidjson::Value*> n;
        return listed(L"KVRemoteLoginFrame", d, n) && n.count(name) == 1 && hasState(*n.find(name)->second, "focused");
    };
    for (const char* control : {"menuBtn", "closebtn"}) {
        const std::wstring expected(control, control + std::strlen(control));
        PostMessageW(window, WM_KEYDOWN, VK_TAB, 0);
        EXPECT_TRUE(waitUntil([&] { return events.lastHelp() == expected; }, 10s))
            << control << ": " << events.count() << " focus events, the last one on " << events.lastHelp();
        EXPECT_EQ(events.lastWindow(), window);
        EXPECT_TRUE(focused(control));
    }
}

} // namespace
