#include "app/KVMultiImpl_win.h"

#include <objbase.h>

#include <algorithm>

#include <commctrl.h>
#include <ole2.h>

#include "app/AppContext_win.h"
#include "app/DisplayScaling_win.h"
#include "app/InstallTransfers_win.h"
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
#include "ui/groupcontrol/GroupControlFrame_win.h"
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

    setUpGroupControls();
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
    common::dispatch::retire(m_ownerKey);
    m_groupSetup.reset();
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

int KVMultiImpl::onHandleWindowIPC(std::uint32_t message, std::uintptr_t first, std::intptr_t second) {
    KVLOG(L"onHandleWindowIPC, msg = %d", static_cast<int>(message));
    if (message == utility::kMsgActivateManager) {
        showMainFrame();
    } else if (message == utility::kMsgInstallProgress) {
        const app::TopLevelWindow* main = m_windows.mainWindow();
        mainui::KVMultiMainFrame* frame =
            main ? mainui::win32::MainFrameWindow::frameOf(reinterpret_cast<HWND>(main->handle())) : nullptr;
        if (frame) {
            frame->installProgress(static_cast<std::intptr_t>(first), second);
        } else {
            KVLOG_AS("KVMultiMainFrame::installProgress", L"install  progress %d %d", static_cast<int>(first),
                     static_cast<int>(second));
        }
    } else if (message == utility::kMsgShowAll) {
        m_windows.showAll(first == 0);
    } else if (message == utility::kMsgReloadList) {
        app::model().reloadFromDisk();
    } else {
        onPlayerIpc(message, static_cast<platform::WindowHandle>(first), second);
    }
    return 0;
}

// What an instance tells the manager about its main window (the first parameter) goes to the frame that
// holds that window.
void KVMultiImpl::onPlayerIpc(std::uint32_t message, platform::WindowHandle window, std::intptr_t second) {
    app::GroupControlRegistry& frames = m_windows.groupControls();
    using groupcontrol::GroupDock;
    switch (message) {
    case utility::kMsgPlayerWantMax:
        frames.withFrameOf(window, [window](GroupDock& dock) { dock.playerWantMax(window); });
        break;
    case utility::kMsgPlayerWantRestore:
        frames.withFrameOf(window, [window](GroupDock& dock) { dock.playerWantRestore(window); });
        break;
    case utility::kMsgPlayerMoved:
        KVLOG(L"111111111111111: movied");
        frames.withFrameOf(window, [window](GroupDock& dock) { dock.playerMoved(window); });
        break;
    case utility::kMsgPlayerResolution: {
        const auto packed = static_cast<std::uint32_t>(second);
        const int width = static_cast<std::int16_t>(packed & 0xFFFF), height = static_cast<std::int16_t>(packed >> 16);
        KVLOG(L"player solution width:%d height:%d", width, height);
        frames.withFrameOf(window, [=](GroupDock& dock) { dock.onResolutionChanged(window, width, height); });
        break;
    }
    case utility::kMsgPlayerRotated:
        KVLOG(L"player rotacate change");
        frames.withFrameOf(window, [window](GroupDock& dock) { dock.onPlayerRotated(window); });
        break;
    case utility::kMsgRaiseFrame:
        KVLOG(L"player rotacate change");
        if (app::GroupControlFrame* frame = frames.findFrameByPlayerWindow(window)) frame->raise();
        break;
    case utility::kMsgPlayerWantFullScreen:
        KVLOG(L"player want fullscreen");
        frames.withFrameOf(window, [window](GroupDock& dock) { dock.playerWantFullScreen(window); });
        break;
    case utility::kMsgPlayerExitFullScreen:
        KVLOG(L"player want fullscreen to restore");
        frames.withFrameOf(window, [window](GroupDock& dock) { dock.playerWantFullScreenExit(window); });
        break;
    default: // 9000, 25004 and anything else
        break;
    }
}

namespace {

// The group of its line that holds the instance (the last one, as the list shows it); empty when none.
std::wstring groupOfInstance(std::int32_t id) {
    std::wstring name;
    for (const model::Group& group : app::model().groups().groups(product::productOfId(id)))
        if (std::find(group.members.begin(), group.members.end(), id) != group.members.end()) name = group.name;
    return name;
}

// What a group frame takes of an instance; none for one removed meanwhile.
std::optional<groupcontrol::PlayerRecord> playerRecordOf(std::int32_t id) {
    const model::InstanceRecord* record = app::model().findRecord(id);
    if (!record) return std::nullopt;
    return groupcontrol::PlayerRecord{product::indexOfId(id), record->name, record->running ? record->topWindow : 0,
                                      record->width, record->height};
}

} // namespace

// Frames are made by the registry on request; they hear starts and stops of their instances from the model.
void KVMultiImpl::setUpGroupControls() {
    app::GroupControlRegistry& frames = m_windows.groupControls();
    frames.setFrameFactory([this](int line, const std::wstring& group) -> std::unique_ptr<app::GroupControlFrame> {
        const app::TopLevelWindow* main = m_windows.mainWindow();
        const groupcontrol::win32::FrameContext context{.model = app::model(),
                                                        .settings = app::players().own().settings(),
                                                        .desktop = m_dockDesktop,
                                                        .mainWindow =
                                                            main ? reinterpret_cast<HWND>(main->handle()) : nullptr,
                                                        .scale = m_scale};
        auto made = groupcontrol::win32::GroupControlFrameWindow::create(
            context, line, group, [this, line](groupcontrol::win32::GroupControlFrameWindow& frame) {
                m_windows.groupControls().drop(line, frame.dock().groupName());
            });
        if (!made) return nullptr;
        HWND frameWindow = made->hwnd();
        made->frame().setOpenSetup([this, frameWindow] { openGroupSetup(frameWindow); });
        return made;
    });
    app::model().events().playerStateChanged.subscribe(
        m_ownerKey, [this](std::int32_t id, bool running, platform::WindowHandle window) {
            const std::wstring group = groupOfInstance(id);
            if (!group.empty()) m_windows.groupControls().onPlayerStateChanged(id, group, running, window);
        });
}

// One settings dialog for every frame, over the frame that asked; a save lays every frame out again.
void KVMultiImpl::openGroupSetup(HWND frame) {
    if (!m_groupSetup)
        m_groupSetup = std::make_unique<groupcontrol::win32::GroupControlSetupWindow>(
            app::players().own().settings(), [this] { m_windows.groupControls().reLoadAll(); });
    m_groupSetup->open(frame);
}

void KVMultiImpl::runGroupControl(KV_PRODUCT_TYPE line, const std::wstring& group) {
    app::GroupControlRegistry& frames = m_windows.groupControls();
    const int type = static_cast<int>(line);
    if (frames.hasFrame(type, group)) return frames.closeFrame(type, group, false);
    std::vector<groupcontrol::PlayerRecord> records;
    if (const model::Group* stored = app::model().groups().find(line, group))
        for (std::int32_t id : stored->members)
            if (const auto record = playerRecordOf(id)) records.push_back(*record);
    frames.showFrame(type, group, records);
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
            {.openSettings = [this](const std::vector<std::int32_t>& ids) { openSettings(ids); },
             .installTransfers = app::makeInstallTransfers(),
             .groupFrameOpen =
                 [this](KV_PRODUCT_TYPE line, const std::wstring& group) {
                     return m_windows.groupControls().hasFrame(static_cast<int>(line), group);
                 },
             .runGroupControl = [this](KV_PRODUCT_TYPE line,
                                       const std::wstring& group) { runGroupControl(line, group); },
             .groupRenamed =
                 [this](KV_PRODUCT_TYPE line, const std::wstring& oldName, const std::wstring& newName) {
                     m_windows.groupControls().rename(static_cast<int>(line), oldName, newName);
                 },
             .groupDeleted =
                 [this](KV_PRODUCT_TYPE line, const std::wstring& group) {
                     m_windows.groupControls().closeFrame(static_cast<int>(line), group, false);
                 },
             .playerJoinedGroup =
                 [this](KV_PRODUCT_TYPE, std::int32_t id, const std::wstring& group) {
                     if (const auto record = playerRecordOf(id))
                         m_windows.groupControls().movePlayer(id, group, *record);
                 },
             .playerLeftGroup =
                 [this](KV_PRODUCT_TYPE, std::int32_t id, const std::wstring& group) {
                     m_windows.groupControls().removePlayer(id, group);
                 },
             .instanceRemoved = [this](std::int32_t id) { m_windows.groupControls().removePlayerEverywhere(id); }});
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
