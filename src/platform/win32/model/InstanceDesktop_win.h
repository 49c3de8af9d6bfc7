#pragma once
// Instances on a Windows desktop, for the model and the storage objects: named mutexes and top-level windows
// listed at once or searched by name, window owners, posts to endpoints, starting the emulator and running helper
// programs.

#include "core/platform/InstanceDesktop.h"
#include "platform/win32/system/TopWindowList_win.h"

namespace platform::win32 {

class Win32InstanceDesktop final : public platform::InstanceDesktop {
public:
    bool listMutexes(std::vector<std::wstring>& names) override;
    bool listTopWindows(std::vector<platform::TopWindow>& windows) override;
    bool mutexExists(const std::wstring& name) override;
    platform::WindowHandle findWindow(const std::wstring& className) override;
    std::int32_t windowProcessId(platform::WindowHandle window) override;
    platform::WindowHandle mainFrameOfProcess(std::int32_t processId) override;
    platform::WindowHandle findChild(platform::WindowHandle parent, const std::wstring& className,
                                     const std::wstring& title) override;
    bool postToWindowClass(const std::wstring& className, std::uint32_t message, std::uintptr_t first,
                           std::intptr_t second) override;
    bool postData(const std::wstring& windowClass, int key, std::uint32_t message, std::wstring_view text) override;
    int startAsDesktopUser(const std::wstring& file, const std::wstring& parameters) override;
    void shellOpen(const std::wstring& file, const std::wstring& parameters) override;
    int execute(const std::wstring& file, const std::wstring& parameters) override;

private:
    TopWindowList m_topWindows;
};

} // namespace platform::win32
