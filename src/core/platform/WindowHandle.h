#pragma once
// A window of any process, as a number: 0 is no window; on Windows it carries the HWND's value. One type for
// every layer, so a handle passes from the desktop seams to the IPC proxy and the arrangement unchanged.

#include <cstdint>

namespace platform {

using WindowHandle = std::uintptr_t;

} // namespace platform
