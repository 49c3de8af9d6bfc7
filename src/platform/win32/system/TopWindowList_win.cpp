#include "platform/win32/system/TopWindowList_win.h"

#include "core/ipc/IpcMessages.h"

namespace platform::win32 {
namespace {

BOOL CALLBACK collect(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

} // namespace

bool TopWindowList::list(std::vector<platform::TopWindow>& windows) {
    const std::lock_guard lock(m_mutex);
    std::vector<HWND> handles;
    handles.reserve(m_known.size() + 16);
    if (!EnumWindows(collect, reinterpret_cast<LPARAM>(&handles))) return false;

    std::unordered_map<HWND, Known> listed;
    listed.reserve(handles.size());
    for (HWND window : handles) {
        auto known = m_known.find(window);
        if (known == m_known.end()) {
            DWORD processId = 0;
            if (GetWindowThreadProcessId(window, &processId) == 0) continue; // gone since the enumeration
            wchar_t className[utility::kClassNameReadChars] = {};
            GetClassNameW(window, className, static_cast<int>(utility::kClassNameReadChars));
            known = m_known.emplace(window, Known{static_cast<std::int32_t>(processId), className}).first;
        }
        const Known& w = listed.emplace(window, std::move(known->second)).first->second;
        windows.push_back({reinterpret_cast<platform::WindowHandle>(window), w.processId, w.className});
    }
    m_known = std::move(listed); // windows no longer listed are forgotten
    return true;
}

} // namespace platform::win32
