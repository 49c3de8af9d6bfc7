#include "platform/win32/system/ProcessWindows_win.h"

namespace platform::win32 {
namespace {

struct Search {
    DWORD processId;
    const std::function<bool(HWND)>& accept;
    HWND found = nullptr;
};

BOOL CALLBACK visit(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !search->accept(window)) return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

std::int32_t ownerProcessOf(HWND window) {
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0) return -1;
    return static_cast<std::int32_t>(processId);
}

HWND findTopWindowOfProcess(DWORD processId, const std::function<bool(HWND)>& accept) {
    if (processId == 0) return nullptr;
    Search search{processId, accept};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace platform::win32
