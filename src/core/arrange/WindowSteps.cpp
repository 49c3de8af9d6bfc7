#include "core/arrange/WindowSteps.h"

namespace arrange {

void moveWindow(platform::WindowSystem& ws, platform::WindowHandle window, platform::WindowHandle mainWindow, int x,
                int y) {
    if (ws.isMinimized(window)) ws.restore(window);
    ws.bringToFront(window);
    ws.place(window, mainWindow, x, y);
}

float monitorScale(platform::WindowSystem& ws, platform::WindowHandle mainWindow) {
    if (ws.monitorCount() <= 1) return 1.0f;
    const platform::Monitor own = ws.monitorOf(mainWindow);
    if (own.primary) return 1.0f;
    int primaryDpi = 0;
    for (const platform::Monitor& m : ws.monitors())
        if (m.primary) primaryDpi = m.dpiX;
    if (primaryDpi == own.dpiX || primaryDpi == 0 || own.dpiX == 0) return 1.0f;
    return static_cast<float>(primaryDpi) / static_cast<float>(own.dpiX);
}

int rowCount(int windows, int perRow) {
    return (windows + perRow - 1) / perRow;
}

} // namespace arrange
