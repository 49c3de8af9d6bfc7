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
#include "core/ipc/IWindowIPCHandle.h"
#include "core/model/KVMultiModel.h"
#include "platform/win32/ipc/WindowIPC_win.h"
#include "platform/win32/system/Owned_win.h"

class KVMultiImpl : public utility::IWindowIPCHandle {
public:
    // 1 in every case but one: -1 when the component library cannot be initialised.
    int entrance(HINSTANCE instance, const wchar_t* commandLine);

    // Every message to the manager's endpoint: logged, then 9111 shows the main window and 25013 shows
    // (first parameter 0) or hides (1) it. Answers 0.
    int onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) override;

    // Creates the main window when none exists and brings it to the foreground; true.
    bool showMainFrame();
    void addFontResource();
    // The instance settings dialog over the main window, for one instance or (several ids) in batch mode.
    void openSettings(const std::vector<std::int32_t>& ids);

private:
    void initialiseCommon(const std::filesystem::path& programFolder);
    void migrateOldUser();
    void markUnfinishedCopy(KVMultiModel& model);
    void runMessageLoop();
    void cycleDebugLanguage();
    void shutdown();

    utility::WindowIPC m_endpoint;
    platform::win32::UniqueHandle m_guard; // the single-instance mutex
    app::WindowOwner m_windows;            // every top-level window is reached through it
    HINSTANCE m_instance = nullptr;
    std::filesystem::path m_fontFile;
    bool m_rebuildingMainWindow = false;
    bool m_debugLanguage = false;
    int m_debugLanguagePosition = -1;
    double m_scale = 1.0;
};
