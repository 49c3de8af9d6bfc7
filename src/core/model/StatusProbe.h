#pragma once
// One status pass's view of the desktop. The session's named mutexes and its top-level windows (class and
// owner) are listed once when the pass begins, so a pass over a thousand instances costs two listings rather
// than a mutex test and a window search per instance. Where the desktop cannot list, each question goes to
// it as before. Good for one pass only: instances start and stop between passes.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "core/platform/InstanceDesktop.h"

namespace model {

class StatusProbe {
public:
    explicit StatusProbe(platform::InstanceDesktop& desktop);

    bool mutexExists(const std::wstring& name) const;
    // The first top-level window of the class, as a class search finds it; 0 when none.
    platform::WindowHandle findWindow(const std::wstring& className) const;
    // A listed window's owner from the listing; any other window's from the desktop.
    std::int32_t windowProcessId(platform::WindowHandle window) const;
    // The process's first "KVPlayerMainFrame" window; 0 when none.
    platform::WindowHandle mainFrameOfProcess(std::int32_t processId) const;

private:
    platform::InstanceDesktop& m_desktop;
    bool m_mutexesListed = false;
    bool m_windowsListed = false;
    std::unordered_set<std::wstring> m_mutexes;
    std::unordered_map<std::wstring, platform::WindowHandle> m_firstOfClass; // classes folded to lower case
    std::unordered_map<platform::WindowHandle, std::int32_t> m_owner;
    std::unordered_map<std::int32_t, platform::WindowHandle> m_mainFrame;
};

} // namespace model
