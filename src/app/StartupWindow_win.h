#pragma once
// The window the program shows until the main frame exists: an empty top-level window of class
// "KVMultiMainFrame" titled "kvmulti". Closing it calls `onDestroyed`.

#include <windows.h>

#include <functional>

namespace app {

HWND createStartupWindow(HINSTANCE instance, std::function<void()> onDestroyed);

} // namespace app
