#pragma once
// What the instance model and the storage objects ask the desktop about instances: their mutexes, their
// windows and processes, the suite's notification window, posting to an instance's endpoint, starting the
// emulator and running the installation's helper programs. Monitors are the WindowSystem's.
// Windows implements it for real (platform/win32/model/InstanceDesktop_win); native tests use a fake.
//
// The periodic refresh runs every second on the user-interface thread over every instance. It first asks for
// the session's named mutexes and its top-level windows, each listed at once; where an implementation cannot
// list them, it asks mutexExists and findWindow per instance, so these must answer without enumerating
// windows. Names are passed as complete strings the model keeps, so an implementation can hand them to the
// system without copying.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/WindowHandle.h"
#include "core/platform/WindowOwners.h"

namespace platform {

inline constexpr std::wstring_view kRenderWindowClass = L"RenderWindow";
inline constexpr std::wstring_view kRenderWindowTitle = L"TheRender";
inline constexpr std::wstring_view kSubWindowClass = L"subWin";
inline constexpr std::wstring_view kSubWindowTitle = L"sub";

// A top-level window as a listing sees it.
struct TopWindow {
    WindowHandle handle = 0;
    std::int32_t processId = -1;
    std::wstring className;
};

class InstanceDesktop : public WindowOwners {
public:
    // The names of the named mutexes of this session, all at once; false (and `names` left as it was) when
    // the system cannot list them.
    virtual bool listMutexes(std::vector<std::wstring>& names) {
        (void)names;
        return false;
    }
    // Every top-level window in the order a class search meets them (front to back); false when the system
    // cannot list them.
    virtual bool listTopWindows(std::vector<TopWindow>& windows) {
        (void)windows;
        return false;
    }
    // Whether a named mutex exists (an instance holds its mutex while it runs).
    virtual bool mutexExists(const std::wstring& name) = 0;
    // A top-level window of the class; 0 when none.
    virtual WindowHandle findWindow(const std::wstring& className) = 0;
    // The process's top-level "KVPlayerMainFrame" window; 0 when none. Walks every top-level window.
    virtual WindowHandle mainFrameOfProcess(std::int32_t processId) = 0;
    // A direct child of `parent` with exactly this class and title; 0 when none.
    virtual WindowHandle findChild(WindowHandle parent, const std::wstring& className, const std::wstring& title) = 0;
    // Posts to the first top-level window of the class; false when there is none.
    [[nodiscard]] virtual bool postToWindowClass(const std::wstring& className, std::uint32_t message,
                                                 std::uintptr_t first, std::intptr_t second) = 0;

    // Hands `text` as data message `message` for `key` to the IPC endpoint of `windowClass` without waiting;
    // false when no such endpoint exists.
    [[nodiscard]] virtual bool postData(const std::wstring& windowClass, int key, std::uint32_t message,
                                        std::wstring_view text) = 0;
    // Starts the program with the desktop shell's token, so an elevated manager starts it unelevated: 0 when
    // it started, otherwise a failure code the caller logs.
    virtual int startAsDesktopUser(const std::wstring& file, const std::wstring& parameters) = 0;
    // Starts the program through the shell, as a fallback.
    virtual void shellOpen(const std::wstring& file, const std::wstring& parameters) = 0;
    // Runs the program hidden and waits at most 10 s: its exit code; 0 when it did not start, -1 on a
    // time-out.
    virtual int execute(const std::wstring& file, const std::wstring& parameters) = 0;
};

} // namespace platform
