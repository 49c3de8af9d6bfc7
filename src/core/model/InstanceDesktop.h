#pragma once
// What the instance model asks the desktop about running instances: their mutexes, their windows and
// processes, the suite's notification window, the monitors, and starting and stopping an instance.
// Windows implements it for real (platform/win32/model/InstanceDesktop_win); native tests use a fake.
//
// The periodic refresh calls mutexExists and findWindow once per instance every second on the user-interface
// thread, so implementations must answer them without enumerating windows. Names are passed as complete
// strings the model keeps, so an implementation can hand them to the system without copying.

#include <cstdint>
#include <string>
#include <string_view>

namespace common {
class Players;
}

namespace model {

// A window of any process; 0 is no window. Carries the HWND's value on Windows, like arrange::WindowHandle.
using WindowHandle = std::uintptr_t;

inline constexpr std::wstring_view kRenderWindowClass = L"RenderWindow";
inline constexpr std::wstring_view kRenderWindowTitle = L"TheRender";
inline constexpr std::wstring_view kSubWindowClass = L"subWin";
inline constexpr std::wstring_view kSubWindowTitle = L"sub";

class InstanceDesktop {
public:
    virtual ~InstanceDesktop() = default;

    // Whether a named mutex exists (an instance holds its mutex while it runs).
    virtual bool mutexExists(const std::wstring& name) = 0;
    // A top-level window of the class; 0 when none.
    virtual WindowHandle findWindow(const std::wstring& className) = 0;
    // The process that owns the window; -1 when the window is gone.
    virtual std::int32_t windowProcessId(WindowHandle window) = 0;
    // The process's top-level "KVPlayerMainFrame" window; 0 when none. Walks every top-level window.
    virtual WindowHandle mainFrameOfProcess(std::int32_t processId) = 0;
    // A direct child of `parent` with exactly this class and title; 0 when none.
    virtual WindowHandle findChild(WindowHandle parent, const std::wstring& className, const std::wstring& title) = 0;
    // Posts to the first top-level window of the class; false when there is none.
    virtual bool postToWindowClass(const std::wstring& className, std::uint32_t message, std::uintptr_t first,
                                   std::intptr_t second) = 0;

    virtual int monitorCount() = 0;
    // The handle value of the monitor nearest to the window.
    virtual std::intptr_t monitorNearestTo(WindowHandle window) = 0;

    // Starts the instance's emulator with "index=N|parameters"; nothing is returned, the instance shows up
    // through its mutex.
    virtual void startInstance(const common::Players& players, int index, std::wstring_view parameters) = 0;
    // Asks a running instance to close.
    virtual void stopInstance(const common::Players& players, std::int32_t id, int index) = 0;
};

} // namespace model
