#include "core/arrange/WindowSteps.h"

namespace arrange {

void moveWindow(WindowSystem& ws, WindowHandle window, WindowHandle mainWindow, int x, int y) {
    if (ws.isMinimized(window)) ws.restore(window);
    ws.bringToFront(window);
    ws.place(window, mainWindow, x, y);
}

float monitorScale(WindowSystem& ws, WindowHandle mainWindow) {
    if (ws.monitorCount() <= 1) return 1.0f;
    const Monitor own = ws.monitorOf(mainWindow);
    if (own.primary) return 1.0f;
    int primaryDpi = 0;
    for (const Monitor& m : ws.monitors())
        if (m.primary) primaryDpi = m.dpiX;
    if (primaryDpi == own.dpiX || primaryDpi == 0 || own.dpiX == 0) return 1.0f;
    return static_cast<float>(primaryDpi) / static_cast<float>(own.dpiX);
}

int rowCount(int windows, int perRow) {
    return (windows + perRow - 1) / perRow;
}

} // namespace arrange
