#pragma once
// The Microsoft Active Accessibility face of a toolkit window: one `IAccessible` (with `IEnumVARIANT` for its
// children) per exposed node of the window's portable `AccessibleTree`, which decides everything a client
// reads. Nodes with children are objects of their own, childless ones simple children of their parent's object;
// a negative child id names any node by its tree id (focus events and enumerated simple children carry those,
// so a removed control answers an error, never another control's), a positive one the n-th child.
//
// Calls arrive on the window's thread (the objects live in its single-threaded apartment). Objects a client
// still holds after the window went answer RPC_E_DISCONNECTED: they reach the window only through a shared
// link that the host clears when it dies.

#include <windows.h>

#include <memory>

#include "toolkit/Window.h"

namespace ui::win32 {

struct AccessibleLink {
    Window* window = nullptr; // null once the host is gone
    HWND hwnd = nullptr;
};

// The answer to WM_GETOBJECT for OBJID_CLIENT.
LRESULT accessibleClientObject(const std::shared_ptr<AccessibleLink>& link, WPARAM wParam);

// EVENT_OBJECT_FOCUS for the window's focused control (the window itself when none has it).
void notifyAccessibleFocus(const AccessibleLink& link, Control* focused);

} // namespace ui::win32
