#pragma once
// Which process owns a window, and the one walk over the desktop's top-level windows for "the window of process N that
// ...": a shell start's first visible window, an instance's main frame. Walks every top-level window: never call it per
// row.

#include <windows.h>

#include <cstdint>
#include <functional>

namespace platform::win32 {

// The process that owns the window; -1 when the window is gone (a gone window has no owning thread).
std::int32_t ownerProcessOf(HWND window);

// The first top-level window, in z-order, owned by the process that `accept` takes; null when none.
HWND findTopWindowOfProcess(DWORD processId, const std::function<bool(HWND)>& accept);

} // namespace platform::win32
