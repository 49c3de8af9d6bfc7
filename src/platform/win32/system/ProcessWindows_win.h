#pragma once
// The one walk over the desktop's top-level windows for "the window of process N that ...": a shell start's
// first visible window, an instance's main frame. Walks every top-level window: never call it per row.

#include <windows.h>

#include <functional>

namespace platform::win32 {

// The first top-level window, in z-order, owned by the process that `accept` takes; null when none.
HWND findTopWindowOfProcess(DWORD processId, const std::function<bool(HWND)>& accept);

} // namespace platform::win32
