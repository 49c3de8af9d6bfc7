#pragma once
// The owner of the application's top-level windows: the main window, the dialogs that are created once and
// shown again, and the group control frames. Start-up, shutdown, the crash handler and the IPC handler reach
// windows only through it; windows reach each other through the model's events, never through it.
//
// Everything here runs on the user-interface thread, except `onCrash`, which the crash reporter may call
// from any thread.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "app/GroupControlRegistry.h"
#include "app/TopLevelWindow.h"

namespace app {

class WindowOwner {
public:
    using WindowFactory = std::function<std::unique_ptr<TopLevelWindow>()>;

    WindowOwner() = default;
    WindowOwner(const WindowOwner&) = delete;
    WindowOwner& operator=(const WindowOwner&) = delete;

    // Creates the main window when there is none (`create` may give none: the failure is its to log), then
    // brings it to the front. True in every case.
    bool showMainWindow(const WindowFactory& create);
    TopLevelWindow* mainWindow() const { return m_main.get(); }
    // The main window's native window is gone: forgets it, and its dialogs with it.
    void mainWindowGone();
    // The close request of shutdown, when a main window still exists.
    void closeMainWindow();
    // Destroys the main window at once; its end reaches mainWindowGone as usual.
    void destroyMainWindow();

    // The dialog of this name: the one made before, else a new one from `create` (none when that fails).
    TopLevelWindow* dialog(std::wstring_view name, const WindowFactory& create);
    // A dialog's native window is gone: the next request makes a new one.
    void dialogGone(std::wstring_view name);

    GroupControlRegistry& groupControls() { return m_groupControls; }

    // Shows or hides every top-level window: the main window, then the frames.
    void showAll(bool shown);
    // The program is crashing: the instance windows the frames hold go back to the desktop so they survive.
    void onCrash() { m_groupControls.releaseAllFrames(); }

private:
    std::unique_ptr<TopLevelWindow> m_main;
    std::map<std::wstring, std::unique_ptr<TopLevelWindow>, std::less<>> m_dialogs;
    GroupControlRegistry m_groupControls;
};

} // namespace app
