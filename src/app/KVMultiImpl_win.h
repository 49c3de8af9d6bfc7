#pragma once
// The application object: runs the program from its entry point to its end, and receives the window
// messages other processes address to the manager itself (its endpoint, class "{6895BCDE-…}").
//
// Start-up takes the single-instance guard; a second manager hands over to the first (message 9111) and
// leaves without creating anything. Shutdown runs in a fixed order after the message loop.

#include <windows.h>

#include <filesystem>
#include <vector>

#include "app/WindowOwner.h"
#include "core/dispatch/Dispatcher.h"
#include "core/ipc/IWindowIPCHandle.h"
#include "core/model/KVMultiModel.h"
#include "platform/win32/arrange/DockDesktop_win.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/system/Owned_win.h"
#include "ui/groupcontrol/GroupControlSetup_win.h"

class KVMultiImpl : public utility::IWindowIPCHandle {
public:
    // 1 in every case but one: -1 when the component library cannot be initialised.
    int entrance(HINSTANCE instance, const wchar_t* commandLine);

    // Every message to the manager's endpoint: logged, then 9111 shows the main window, 25013 shows (first
    // parameter 0) or hides (1) it with every group frame, and the instances' messages reach the frame that
    // holds their window (none holds it: ignored). Answers 0.
    int onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) override;

    // Creates the main window when none exists and brings it to the foreground; true.
    bool showMainFrame();
    void addFontResource();
    // The instance settings dialog over the main window, for one instance or (several ids) in batch mode.
    void openSettings(const std::vector<std::int32_t>& ids);
    // Opens the group's control window with its instances, or closes it (they go back to the desktop).
    void runGroupControl(KV_PRODUCT_TYPE line, const std::wstring& group);
    void openGroupSetup(HWND frame);

private:
    void initialiseCommon(const std::filesystem::path& programFolder);
    void migrateOldUser();
    void markUnfinishedCopy(KVMultiModel& model);
    void runMessageLoop();
    void cycleDebugLanguage();
    void shutdown();
    void setUpGroupControls();
    void onPlayerIpc(std::uint32_t message, platform::WindowHandle window, std::intptr_t second);

    utility::WindowIPC m_endpoint;
    platform::win32::UniqueHandle m_guard;                     // the single-instance mutex
    app::WindowOwner m_windows;                                // every top-level window is reached through it
    platform::win32::Win32DockDesktop m_dockDesktop;           // what the group frames do to instance windows
    const common::OwnerKey m_ownerKey = common::newOwnerKey(); // the model's reports to the group frames
    std::unique_ptr<groupcontrol::win32::GroupControlSetupWindow> m_groupSetup; // made on first use
    HINSTANCE m_instance = nullptr;
    std::filesystem::path m_fontFile;
    bool m_rebuildingMainWindow = false;
    bool m_debugLanguage = false;
    int m_debugLanguagePosition = -1;
    double m_scale = 1.0;
};
