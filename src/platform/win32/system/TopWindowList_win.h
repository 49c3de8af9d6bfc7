#pragma once
// The desktop's top-level windows with their class and owner, for a status pass over many instances.
//
// Reading another process's window's class or owner is a round trip to the window server (under Wine, two
// per window), so what was read of a window is kept while it stays listed: a window keeps its class and its
// process for life, and a handle value is not given to another window while one lives (the handle's upper
// half counts its slot's reuses). Each listing then costs one enumeration plus the reads of new windows.

#include <windows.h>

#include <mutex>
#include <unordered_map>
#include <vector>

#include "core/platform/InstanceDesktop.h"

namespace platform::win32 {

class TopWindowList {
public:
    // Front to back, as a class search meets them; false when the enumeration failed.
    bool list(std::vector<platform::TopWindow>& windows);

private:
    struct Known {
        std::int32_t processId;
        std::wstring className;
    };
    std::mutex m_mutex;
    std::unordered_map<HWND, Known> m_known;
};

} // namespace platform::win32
