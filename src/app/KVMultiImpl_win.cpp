#include "app/KVMultiImpl_win.h"

#include <objbase.h>

#include <commctrl.h>
#include <ole2.h>

#include "app/AppContext_win.h"
#include "app/DisplayScaling_win.h"
#include "app/ProcessHooks_win.h"
#include "app/SettingServices_win.h"
#include "app/SingleInstance_win.h"
#include "app/TopLevelWindow_win.h"
#include "app/UiRuntime_win.h"
#include "core/app/StartupRules.h"
#include "core/app/StartupSteps.h"
#include "core/files/AtomicFile.h"
#include "core/ipc/IpcMessages.h"
#include "core/lang/LanguageProfile.h"
#include "core/lang/LoadResources.h"
#include "core/log/Log.h"
#include "core/net/KVCurlDownloader.h"
#include "core/platform/Os.h"
#include "core/storage/Desktop.h"
#include "toolkit/DisplaySettings.h"
#include "ui/main/MainFrameWindow_win.h"
#include "ui/settings/PlayerSettingFrame_win.h"

namespace {

// The crash reporter's callback has no context of its own: it finds the windows here.
app::WindowOwner* g_windows = nullptr;

void onCrashAction() {
    KVLOG_AS("onCrashAction", L"app crash!!!");
    common::wakeLogWriter();
    if (g_windows) g_windows->onCrash();
}

} // namespace

int KVMultiImpl::entrance(HINSTANCE instance, const wchar_t* commandLine) {
    m_instance = instance;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return -1;
    app::setProcessDpiAwareness();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                         EOAC_NONE, nullptr);
    app::installLogAndDispatcher();
    // The guard comes before anything that writes a file: the model's start takes the installer's first-run
    // markers and may write the groups file, and a second start must leave those to the manager that runs.
    // Its verdict is still logged after the start lines, as before.
    m_guard = app::takeSingleInstanceGuard();

    KVMultiModel& model = app::model();
    if (m_guard) model.init(commandLine);
    std::wstring path32, path64, path9, path3, path14;
    model.getPlayerPath(path32, path64, path9, path3, path14); // reads only
    int lastRun = 4;
    model.readLastRun(lastRun);
    const std::filesystem::path programFolder = platform::programFolder();
    if (m_guard) {
        initialiseCommon(programFolder);
        app::selectLanguageAndResources(app::model(), programFolder);
    } else {
        common::openLogFile(programFolder); // the second start only logs that it hands over
    }

    KVLOG(L"\r\n\r\n************ kvmulti start ************");
    KVLOG(L"player 32 path %s  path64 %s. path9 %s path3 %s path14 %s version %s last run player %d", path32, path64,
          path9, path3, path14, app::kManagerVersion, lastRun);
    if (!m_guard) {
        KVLOG(L"process exist!");
        app::askRunningManagerToShow();
        common::closeLogFile(); // writes the queued lines; nothing else of this process is torn down
        return 1;
    }

    // Without its endpoint the manager still works; only other programs cannot reach it (a second start
    // then cannot bring it forward).
    if (!m_endpoint.create(std::wstring(app::kSingleInstanceName), this))
        KVLOG(L"the manager's endpoint could not be created; other programs cannot reach it");
    KVLOG(L"run run run ");
    m_scale = app::displayScaleOf(GetDesktopWindow());
    if (m_scale > 1.0) {
        ui::setDisplayScale(m_scale);
        KVLOG(L"it is a large streen");
    }
    addFontResource();
    migrateOldUser();
    std::error_code ec;
    m_debugLanguage = std::filesystem::exists(programFolder / L"debuglang.txt", ec);
    g_windows = &m_windows;
    app::registerCrashReporter(programFolder, &onCrashAction);
    if (!KVCurlDownloader::globalInit()) KVLOG(L"curl global init failed");

    showMainFrame();
    app::allowMessagesFromLowerIntegrity();
    runMessageLoop();
    shutdown();
    return 1;
}

// The log file, then the storage objects with their folders and name patterns, a first language choice and
// the phone list.
void KVMultiImpl::initialiseCommon(const std::filesystem::path& programFolder) {
    common::openLogFile(programFolder);
    common::setDesktop(&app::desktop()); // the context lives as long as the storage objects
    app::initialiseStorage(app::model(), app::players(), programFolder);
}

// Users of an old version keep several screens' windows apart when arranging.
void KVMultiImpl::migrateOldUser() {
    const bool oldUser = app::model().isOldUser();
    KVLOG_AS("KVMultiModel::isOldUser", L"it is old user: %d", oldUser ? 1 : 0);
    if (!oldUser) return;
    common::GlobalSettings& settings = app::players().own().settings();
    settings.set(common::settings::moreScreenSortInSame, false);
    if (!settings.save()) KVLOG_AS("KVMultiModel::isOldUser", L"the setting for an old user could not be saved");
}

void KVMultiImpl::shutdown() {
    KVMultiModel& model = app::model();
    model.shutdown(); // saves the groups, stops the timers, drops reports still on their way
    markUnfinishedCopy(model);
    m_endpoint.destroy();
    app::removePrivateFont(m_fontFile);
    m_windows.closeMainWindow();
    // Copies, removals, backups and restores still running end here, while the log and the dispatcher
    // exist; nothing of ours may run during static destruction.
    app::players().stopAllTasks();
    KVLOG_AS("KVMultiImpl::entrance", L"*********************** kv end ****************");
    if (m_guard) {
        KVLOG_AS("KVMultiImpl::entrance", L"close mutex");
        m_guard.reset();
    }
    KVCurlDownloader::globalCleanup(); // after the main window, which owns the download thread
    KVLOG_AS("KVMultiImpl::entrance", L"exit 3");
    KVLOG_AS("KVMultiImpl::entrance", L"exit 4");
    common::setDesktop(nullptr);
    app::removeLogAndDispatcher();
    OleUninitialize();
    CoUninitialize();
}

// A clone that was still copying when the loop ended leaves "copy_not_finish" in its folder, so the next
// start shows the instance as damaged instead of as a good copy.
void KVMultiImpl::markUnfinishedCopy(KVMultiModel& model) {
    const std::int32_t target = model.copyTarget();
    if (target == -1 || !model.isInstalled(product::productOfId(target))) return;
    int index = -1;
    const common::Players& players = model.playersOf(target, index);
    const std::filesystem::path folder = players.instanceFolder(index);
    std::error_code ec;
    if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return;
    if (!common::files::writeFileAtomically(folder / L"copy_not_finish", {}))
        KVLOG(L"cannot mark %s as unfinished", folder.wstring());
}

int KVMultiImpl::onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t /*second*/) {
    KVLOG(L"onHandleWindowIPC, msg = %d", static_cast<int>(message));
    if (message == utility::kMsgActivateManager) {
        showMainFrame();
    } else if (message == utility::kMsgShowAll) {
        m_windows.showAll(first == 0);
    } else if (message == utility::kMsgReloadList) {
        app::model().reloadFromDisk();
    }
    return 0;
}

bool KVMultiImpl::showMainFrame() {
    return m_windows.showMainWindow([this]() -> std::unique_ptr<app::TopLevelWindow> {
        KVMultiModel& model = app::model();
        const int product = model.commandLineProduct();
        HWND window = mainui::win32::MainFrameWindow::create(
            model, app::players().own().settings(),
            product != 0 && product::isProductType(product) ? std::optional(static_cast<KV_PRODUCT_TYPE>(product))
                                                            : std::nullopt,
            mainui::win32::MainFrameWindow::workAreaOfMonitor(model.commandLineMonitor()),
            [this] {
                m_windows.mainWindowGone();
                if (!m_rebuildingMainWindow) PostQuitMessage(0); // the main window's end is the message loop's end
            },
            [this] { return !m_windows.groupControls().empty(); },
            {.openSettings = [this](const std::vector<std::int32_t>& ids) { openSettings(ids); }});
        if (!window) return nullptr;
        return std::make_unique<app::Win32TopLevelWindow>(window);
    });
}

void KVMultiImpl::openSettings(const std::vector<std::int32_t>& ids) {
    const app::TopLevelWindow* main = m_windows.mainWindow();
    if (ids.empty() || !main) return;
    constexpr const wchar_t* name = common::PlayerSettingWindow::kClassName;
    const auto owner = reinterpret_cast<HWND>(main->handle());
    const app::TopLevelWindow* dialog = m_windows.dialog(name, [this, owner]() -> std::unique_ptr<app::TopLevelWindow> {
        HWND window = settingsui::win32::PlayerSettingFrame::create(
            app::model(), app::players(), app::desktopSettingServices(), owner, [this] { m_windows.dialogGone(name); });
        if (!window) return nullptr;
        return std::make_unique<app::Win32TopLevelWindow>(window);
    });
    auto* frame =
        dialog ? settingsui::win32::PlayerSettingFrame::fromWindow(reinterpret_cast<HWND>(dialog->handle())) : nullptr;
    if (!frame) return;
    frame->open(ids, [](bool saved, bool languageChanged) {
        KVLOG_AS("KVMultiImpl::openSettings", L"settings saved: %d, language changed: %d", saved ? 1 : 0,
                 languageChanged ? 1 : 0);
    });
}

void KVMultiImpl::addFontResource() {
    const std::wstring& face = common::lang::currentLanguageProfile().fontFace;
    m_fontFile = app::addPrivateFont(platform::programFolder(), face);
    ui::setLanguageFace(face);
}

void KVMultiImpl::cycleDebugLanguage() {
    if (!m_windows.mainWindow()) return;
    m_debugLanguagePosition = app::nextDebugLanguagePosition(m_debugLanguagePosition);
    const std::wstring code(app::kDebugLanguages[static_cast<std::size_t>(m_debugLanguagePosition)]);
    common::lang::loadResources(platform::programFolder(), code, code);
    common::lang::selectLanguage(code, L"");
    app::removePrivateFont(m_fontFile);
    addFontResource();
    m_rebuildingMainWindow = true; // this window's end must not end the message loop
    m_windows.destroyMainWindow();
    m_rebuildingMainWindow = false;
    showMainFrame();
}

void KVMultiImpl::runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (m_debugLanguage && msg.message == WM_KEYDOWN && msg.wParam == VK_F9) {
            cycleDebugLanguage();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
