#pragma once
// What the application asks of one of its top-level windows, whatever hosts it (a native window on the
// desktop, a fake in tests). The window itself may outlive this view of it: the host tells the owner when
// the window is gone, and the owner then drops the view.

#include "core/platform/InstanceDesktop.h"

namespace app {

class TopLevelWindow {
public:
    virtual ~TopLevelWindow() = default;
    virtual platform::WindowHandle handle() const = 0;
    // Restored when minimised, then raised to the foreground.
    virtual void bringToFront() = 0;
    // Shown (taking the focus) or hidden.
    virtual void setShown(bool shown) = 0;
    // Asks the window to close (the close message with first parameter 1); it goes when it has handled it.
    virtual void requestClose() = 0;
    // Destroys the window at once (the debug-language switch builds it anew).
    virtual void destroy() = 0;
};

} // namespace app
