#pragma once
// A desktop in memory for the instance model: named mutexes, top-level windows by class with their owning
// processes and children, the notification window, and a record of starts, stops, posts and helper runs.
// Instances "run" by holding their mutex and owning an IPC window, a "KVPlayerMainFrame" with its render and
// sub windows. Calls are counted, so tests can see what the refresh asked. Used on one thread only.

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/ipc/IpcMessages.h"
#include "core/platform/InstanceDesktop.h"
#include "core/storage/Players.h"

namespace testing_support {

class FakeInstanceDesktop : public platform::InstanceDesktop {
public:
    using WindowHandle = platform::WindowHandle;

    struct Window {
        std::int32_t processId = 0;
        std::wstring className;
        std::wstring title;
        platform::WindowHandle parent = 0;
    };
    struct Post {
        std::wstring className;
        std::uint32_t message;
        std::uintptr_t first;
        std::intptr_t second;
    };
    struct Call {
        int index;
        std::wstring parameters; // start only
    };
    struct Running {
        std::int32_t processId = 0;
        platform::WindowHandle endpoint = 0;
        platform::WindowHandle frame = 0;
        platform::WindowHandle render = 0;
    };

    // An instance of `players` as a real one looks while it runs; either part may be left out. `frame`
    // gives the main frame a chosen handle (one a FakeWindowSystem knows).
    Running run(const common::Players& players, int index, bool withMutex = true, bool withWindows = true,
                platform::WindowHandle frame = 0) {
        Running r;
        r.processId = m_nextProcess;
        m_nextProcess += 2; // the sub window belongs to a helper process: the next id
        if (withMutex) mutexes.insert(players.mutexName(index));
        if (withWindows) {
            r.endpoint = addWindow(players.windowClassName(index), L"", r.processId);
            r.frame = addWindow(std::wstring(utility::kPlayerMainFrameClass), L"", r.processId, 0, frame);
            r.render = addWindow(L"RenderWindow", L"TheRender", r.processId, r.frame);
            addWindow(L"subWin", L"sub", r.processId + 1, r.render);
        }
        return r;
    }
    // The instance's process ends: its mutex and every window it owned go.
    void end(const common::Players& players, int index) {
        mutexes.erase(players.mutexName(index));
        const auto it = topLevel.find(players.windowClassName(index));
        if (it == topLevel.end()) return;
        const std::int32_t owner = windows.at(it->second).processId;
        for (auto w = windows.begin(); w != windows.end();) {
            if (w->second.processId == owner || w->second.processId == owner + 1) {
                if (w->second.parent == 0) topLevel.erase(w->second.className);
                w = windows.erase(w);
            } else {
                ++w;
            }
        }
    }
    platform::WindowHandle addWindow(const std::wstring& className, const std::wstring& title, std::int32_t processId,
                                     platform::WindowHandle parent = 0, platform::WindowHandle chosen = 0) {
        const platform::WindowHandle h = chosen != 0 ? chosen : m_nextWindow;
        if (chosen == 0) m_nextWindow += 4;
        windows[h] = {processId, className, title, parent};
        if (parent == 0) topLevel.emplace(className, h);
        return h;
    }

    std::unordered_set<std::wstring> mutexes;
    std::unordered_map<std::wstring, platform::WindowHandle> topLevel; // class → first top-level window of it
    std::unordered_map<platform::WindowHandle, Window> windows;
    struct DataPost {
        std::wstring windowClass;
        int key;
        std::uint32_t message;
        std::wstring text;
    };
    std::vector<Post> posts;
    std::vector<DataPost> dataPosts;
    std::vector<std::wstring> helperRuns;
    int executeResult = 0;
    std::vector<Call> starts;
    std::vector<Call> stops;
    long windowWalks = 0;

    // Off: the desktop cannot list, and every question is asked per instance.
    bool lists = true;
    long listings = 0;
    bool listMutexes(std::vector<std::wstring>& names) override {
        if (!lists) return false;
        ++listings;
        names.assign(mutexes.begin(), mutexes.end());
        return true;
    }
    // Each class's first window before the others, as a class search meets them.
    bool listTopWindows(std::vector<platform::TopWindow>& list) override {
        if (!lists) return false;
        for (const auto& [className, h] : topLevel) list.push_back({h, windows.at(h).processId, className});
        for (const auto& [h, w] : windows)
            if (const auto first = topLevel.find(w.className);
                w.parent == 0 && (first == topLevel.end() || first->second != h))
                list.push_back({h, w.processId, w.className});
        return true;
    }
    bool mutexExists(const std::wstring& name) override { return mutexes.count(name) != 0; }
    platform::WindowHandle findWindow(const std::wstring& className) override {
        const auto it = topLevel.find(className);
        return it == topLevel.end() ? 0 : it->second;
    }
    std::int32_t windowProcessId(platform::WindowHandle window) override {
        const auto it = windows.find(window);
        return it == windows.end() ? -1 : it->second.processId;
    }
    platform::WindowHandle mainFrameOfProcess(std::int32_t processId) override {
        ++windowWalks;
        for (const auto& [h, w] : windows)
            if (w.parent == 0 && w.processId == processId && w.className == utility::kPlayerMainFrameClass) return h;
        return 0;
    }
    platform::WindowHandle findChild(platform::WindowHandle parent, const std::wstring& className,
                                     const std::wstring& title) override {
        for (const auto& [h, w] : windows)
            if (w.parent == parent && w.className == className && w.title == title) return h;
        return 0;
    }
    bool postToWindowClass(const std::wstring& className, std::uint32_t message, std::uintptr_t first,
                           std::intptr_t second) override {
        if (topLevel.count(className) == 0) return false;
        posts.push_back({className, message, first, second});
        return true;
    }
    // A data message to a running instance's endpoint; a quit (9222) is recorded as a stop of `key`.
    bool postData(const std::wstring& windowClass, int key, std::uint32_t message, std::wstring_view text) override {
        if (topLevel.count(windowClass) == 0) return false;
        if (message == utility::kMsgQuit) stops.push_back({key, {}});
        dataPosts.push_back({windowClass, key, message, std::wstring(text)});
        return true;
    }
    // A start of the emulator with "index=N|extra": recorded as (N, extra).
    int startAsDesktopUser(const std::wstring&, const std::wstring& parameters) override {
        const std::size_t bar = parameters.find(L'|');
        starts.push_back({std::stoi(parameters.substr(6, bar - 6)), parameters.substr(bar + 1)});
        return 0;
    }
    void shellOpen(const std::wstring&, const std::wstring&) override {}
    int execute(const std::wstring& file, const std::wstring& parameters) override {
        helperRuns.push_back(file + L" " + parameters);
        return executeResult;
    }

private:
    std::int32_t m_nextProcess = 100;
    platform::WindowHandle m_nextWindow = 0x1000;
};

} // namespace testing_support
