#pragma once
// One manager per desktop: the first takes a named mutex; a second finds it taken, asks the first to show
// itself (message 9111 to its endpoint) and leaves.

#include <windows.h>

#include "platform/win32/system/Owned_win.h"

namespace app {

// The guard, held until it goes out of scope; empty when another manager holds it.
platform::win32::UniqueHandle takeSingleInstanceGuard();
// Posts 9111 to the running manager's endpoint; nothing when it cannot be found.
void askRunningManagerToShow();

} // namespace app
