#include "app/KVMultiImpl_win.h"

#include <objbase.h>

#include "app/StartupWindow_win.h"
#include "app/UiRuntime_win.h"
#include "core/log/Log.h"
#include "core/net/KVCurlDownloader.h"
#include "core/platform/Os.h"
#include "core/storage/PlayerHost.h"
#include "platform/win32/PlayerHost_win.h"

int KVMultiImpl::entrance(HINSTANCE instance, const wchar_t* /*commandLine*/) {
    m_instance = instance;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return -1;

    app::installLogAndDispatcher();
    common::openLogFile(platform::programFolder());
    KVLOG(L"\r\n\r\n************ kvmulti start ************");
    if (!KVCurlDownloader::globalInit()) KVLOG(L"curl global init failed");
    static platform::win32::Win32PlayerHost playerHost; // lives as long as the storage objects
    common::setPlayerHost(&playerHost);

    showMainFrame();
    runMessageLoop();

    KVCurlDownloader::globalCleanup(); // after the main window, which owns the download thread
    KVLOG(L"*********************** kv end ****************");
    app::removeLogAndDispatcher();
    CoUninitialize();
    return 1;
}

bool KVMultiImpl::showMainFrame() {
    if (!m_mainWindow) {
        m_mainWindow = app::createStartupWindow(m_instance, [this] {
            m_mainWindow = nullptr;
            PostQuitMessage(0); // the main window's end is the message loop's end
        });
    }
    if (!m_mainWindow) return true;
    if (IsIconic(m_mainWindow)) ShowWindow(m_mainWindow, SW_RESTORE);
    ShowWindow(m_mainWindow, SW_SHOW);
    SetForegroundWindow(m_mainWindow);
    return true;
}

void KVMultiImpl::runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
