#include "ui/main/MainFrameWindow_win.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "core/lang/LanguageStrings.h"
#include "core/lang/LoadResources.h"
#include "core/log/Log.h"
#include "core/platform/Os.h"
#include "core/platform/SystemFacts.h"
#include "platform/win32/system/Owned_win.h"
#include "toolkit/DisplaySettings.h"
#include "toolkit/ImageControl.h"
#include "ui/setup/FileChooser_win.h"

namespace mainui::win32 {

namespace {

// Posted by the frame's close: the window is destroyed outside the notification that asked for it, so no
// control of the dying tree is still on the stack.
constexpr UINT kMsgDestroySelf = WM_APP + 0x101;
constexpr UINT kMsgCrash = 9000;

std::optional<std::string> readSkin(ui::SkinResources& resources, const wchar_t* name) {
    auto text = resources.read(name);
    if (!text) KVLOG(L"skin %s not found", std::wstring(name));
    return text;
}

// COM calls report an HRESULT, not the last error: logged here with the call's text.
bool succeeded(HRESULT hr, const wchar_t* call) {
    if (FAILED(hr)) KVLOG_AS("mainui::win32::saveShortcut", L"%s failed, hr 0x%08x", call, static_cast<unsigned>(hr));
    return SUCCEEDED(hr);
}

// Saves the shell link as request.name + ".lnk" in the desktop folder; true only when the file was written.
bool saveShortcut(const ShortcutRequest& request) {
    wchar_t desktop[MAX_PATH]{};
    if (!succeeded(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, desktop),
                   L"SHGetFolderPathW"))
        return false;
    platform::win32::ComPtr<IShellLinkW> link;
    if (!succeeded(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.putVoid()),
                   L"CoCreateInstance(ShellLink)"))
        return false;
    bool saved =
        succeeded(link->SetPath(request.target.c_str()), L"SetPath") &&
        succeeded(link->SetWorkingDirectory(request.workingFolder.c_str()), L"SetWorkingDirectory") &&
        (request.arguments.empty() || succeeded(link->SetArguments(request.arguments.c_str()), L"SetArguments"));
    platform::win32::ComPtr<IPersistFile> file;
    if (!saved || !succeeded(link->QueryInterface(IID_IPersistFile, file.putVoid()), L"QueryInterface(IPersistFile)"))
        return false;
    const std::wstring path = std::wstring(desktop) + L"\\" + request.name + L".lnk";
    return succeeded(file->Save(path.c_str(), TRUE), L"IPersistFile::Save");
}

// Restored when minimised, then raised through the topmost band so the system lets it come forward, and put
// back among the ordinary windows.
void bringForward(platform::WindowHandle handle) {
    const HWND window = reinterpret_cast<HWND>(handle);
    if (!IsWindow(window)) return;
    if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, keep);
    SetForegroundWindow(window);
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
}

void openInBrowser(const std::wstring& url) {
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result <= 32) KVLOG_AS("mainui::win32::openInBrowser", L"ShellExecuteW failed: %d", static_cast<int>(result));
}

} // namespace

MainFrameWindow::MainFrameWindow(KVMultiModel& model, common::GlobalSettings& settings, DialogOpeners dialogs)
    : m_model(model), m_resources(common::lang::skinFolder(), &common::lang::resourcePack()),
      m_frame(model, settings, m_factory, services(std::move(dialogs))) {
    m_factory.registerCustom(ui::RQImageControl::kClassName, [] { return std::make_unique<ui::RQImageControl>(); });
}

MainFrameWindow::~MainFrameWindow() = default;

HWND MainFrameWindow::create(KVMultiModel& model, common::GlobalSettings& settings,
                             std::optional<KV_PRODUCT_TYPE> product, std::optional<RECT> monitorArea,
                             std::function<void()> onDestroyed, std::function<bool()> groupControlOpen,
                             DialogOpeners dialogs) {
    auto* self = new MainFrameWindow(model, settings, std::move(dialogs));
    self->m_onDestroyed = std::move(onDestroyed);
    self->m_groupControlOpen = std::move(groupControlOpen);
    if (!self->open(product, monitorArea)) {
        self->m_onDestroyed = nullptr;
        delete self;
        return nullptr;
    }
    return self->m_hwnd;
}

std::optional<RECT> MainFrameWindow::workAreaOfMonitor(int handleValue) {
    if (handleValue == 0) return std::nullopt;
    MONITORINFO info{sizeof info};
    const auto monitor = reinterpret_cast<HMONITOR>(static_cast<std::intptr_t>(handleValue));
    if (!GetMonitorInfoW(monitor, &info)) return std::nullopt;
    return info.rcWork;
}

KVMultiMainFrame* MainFrameWindow::frameOf(HWND window) {
    auto* self = window ? static_cast<MainFrameWindow*>(GetPropW(window, L"KVMultiMainFrame")) : nullptr;
    return self ? &self->m_frame : nullptr;
}

FrameServices MainFrameWindow::services(DialogOpeners dialogs) {
    FrameServices s;
    s.openSettings = std::move(dialogs.openSettings);
    s.installTransfers = std::move(dialogs.installTransfers);
    s.installerFolder = platform::programFolder();
    s.groupFrameOpen = std::move(dialogs.groupFrameOpen);
    s.runGroupControl = std::move(dialogs.runGroupControl);
    s.groupRenamed = std::move(dialogs.groupRenamed);
    s.groupDeleted = std::move(dialogs.groupDeleted);
    s.playerJoinedGroup = std::move(dialogs.playerJoinedGroup);
    s.playerLeftGroup = std::move(dialogs.playerLeftGroup);
    s.instanceRemoved = std::move(dialogs.instanceRemoved);
    s.showBox = [this](msg::MessageBoxWindow& box) { showBox(box); };
    s.growHeight = [this](int delta, bool) { growHeight(delta); };
    s.groupControlOpen = [this] { return m_groupControlOpen && m_groupControlOpen(); };
    s.createShortcut = &saveShortcut;
    s.showMenu = [this](ui::RQMenuWnd& menu) { showMenu(menu); };
    s.showDialog = [this](ui::Window& dialog, const wchar_t* windowClass) { showDialog(dialog, windowClass); };
    s.dialogResized = [this](ui::Window& dialog) { fitDialog(dialog); };
    s.showTip = [this](KVMouseTip& tip, ui::Window& owner) { showTip(tip, owner); };
    s.openAddDialog = [this] { m_frame.showAddPlayerFrame(1); };
    s.openCopyDialog = [this](std::int32_t source) {
        m_frame.showCopyPlayerFrame(source < 0 ? std::nullopt : std::optional(source));
    };
    // The file dialogs belong to the popup the user asked from (the backup window), so that it cannot be
    // clicked again while they are open.
    s.chooseSaveFile = [this](const setupui::FileRequest& r) {
        return setupui::win32::chooseSaveFile(GetLastActivePopup(m_hwnd), r);
    };
    s.chooseOpenFile = [this](const setupui::FileRequest& r) {
        return setupui::win32::chooseOpenFile(GetLastActivePopup(m_hwnd), r);
    };
    s.openBackup = [this](std::int32_t id) { m_frame.showBackupRestoreWindow(id); };
    s.openSetup = [this] { m_frame.showSetupFrame(); };
    s.openOtherSetup = [this] { m_frame.showOtherSetupFrame(); };
    s.solidState = &platform::isSolidStateDrive;
    s.hostFacts = [] {
        return HostFacts{platform::processorTopology().logicalProcessors, platform::installedMemoryMb()};
    };
    s.freeDiskBytes = &platform::freeDiskBytes;
    s.clientToScreen = [this](ui::Point client) {
        POINT p{client.x, client.y};
        ClientToScreen(m_hwnd, &p);
        return ui::Point{p.x, p.y};
    };
    s.bringForward = &bringForward;
    s.openUrl = &openInBrowser;
    s.makeTopmost = [this] {
        SetWindowPos(m_hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    s.closeWindow = [this](int) {
        if (m_hwnd) PostMessageW(m_hwnd, kMsgDestroySelf, 0, 0);
    };
    return s;
}

// The program's icon (resource 107) as the window's large and small icon.
static void setIcons(HWND window) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    HICON icon = LoadIconW(module, MAKEINTRESOURCEW(107));
    if (!icon) KVLOG(L"no program icon: %d", static_cast<int>(GetLastError()));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool MainFrameWindow::open(std::optional<KV_PRODUCT_TYPE> product, std::optional<RECT> monitorArea) {
    const auto skin = readSkin(m_resources, KVMultiMainFrame::kSkinFile);
    const auto rowSkin = readSkin(m_resources, KVMultiMainFrame::kRowSkinFile);
    const auto groupRowSkin = readSkin(m_resources, KVMultiMainFrame::kGroupRowSkinFile);
    const auto moveGroupSkin = readSkin(m_resources, KVMoveGroupWnd::kSkinFile);
    const auto menuSkin = readSkin(m_resources, ui::RQMenuWnd::kSkinFile);
    const std::string addPlayerSkin = readSkin(m_resources, KVAddPlayerFrame::kSkinFile).value_or("");
    const std::string mouseTipSkin = readSkin(m_resources, KVMouseTip::kSkinFile).value_or("");
    const std::string copyPlayerSkin = readSkin(m_resources, KVCopyPlayerFrame::kSkinFile).value_or("");
    const std::string backupSkin = readSkin(m_resources, setupui::MultiBackupRestoreWindow::kSkinFile).value_or("");
    const std::string setupSkin = readSkin(m_resources, setupui::MultiSetupFrame::kSkinFile).value_or("");
    const std::string otherSetupSkin = readSkin(m_resources, setupui::MultiOtherSetupFrame::kSkinFile).value_or("");
    const std::string tipSkin = readSkin(m_resources, view::GameQualityChangeTipFrame::kSkinFile).value_or("");
    if (!skin || !rowSkin || !groupRowSkin || !moveGroupSkin || !menuSkin ||
        !m_frame.init({*skin, *rowSkin, *groupRowSkin, *moveGroupSkin, *menuSkin, addPlayerSkin, mouseTipSkin,
                       copyPlayerSkin, backupSkin, setupSkin, otherSetupSkin, tipSkin},
                      product))
        return false;
    m_frame.window().setScale(ui::displayScale());
    m_host = std::make_unique<ui::win32::ToolkitWindow>(m_frame.window(), m_resources);
    if (!m_host->create(nullptr, kClassName, L"")) return false;
    m_hwnd = m_host->hwnd();
    SetWindowTextW(m_hwnd, common::lang::lookUpWithFallback(L"multiplayer_window").c_str());
    setIcons(m_hwnd);
    SetPropW(m_hwnd, L"KVMultiMainFrame", this);
    m_toolkitProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainFrameWindow::subclassProc)));

    RECT area{};
    if (monitorArea) {
        area = *monitorArea;
    } else {
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    SetWindowPos(m_hwnd, nullptr, area.left + (area.right - area.left - (r.right - r.left)) / 2,
                 area.top + (area.bottom - area.top - (r.bottom - r.top)) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_model.setMainWindow(reinterpret_cast<platform::WindowHandle>(m_hwnd));
    return true;
}

void MainFrameWindow::showBox(msg::MessageBoxWindow& box) {
    m_retiredBoxHost = std::move(m_boxHost);
    m_boxHost = std::make_unique<ui::win32::ToolkitWindow>(*box.window(), m_resources);
    if (!m_boxHost->create(m_hwnd, L"KVMultiMessageBox", L"", WS_POPUP | WS_BORDER)) return;
    RECT owner{};
    RECT own{};
    GetWindowRect(m_hwnd, &owner);
    GetWindowRect(m_boxHost->hwnd(), &own);
    m_boxHost->moveTo({owner.left + (owner.right - owner.left - (own.right - own.left)) / 2,
                       owner.top + (owner.bottom - owner.top - (own.bottom - own.top)) / 2});
    m_boxHost->showModal(m_hwnd);
}

// A dialog keeps its native window from its first showing on; it is centred over the main window each time.
void MainFrameWindow::showDialog(ui::Window& dialog, const wchar_t* windowClass) {
    auto& host = m_dialogHosts[&dialog];
    if (!host) {
        host = std::make_unique<ui::win32::ToolkitWindow>(dialog, m_resources);
        if (!host->create(m_hwnd, windowClass, dialog.title(), WS_POPUP | WS_BORDER)) {
            m_dialogHosts.erase(&dialog);
            dialog.close();
            return;
        }
    }
    RECT owner{};
    RECT own{};
    GetWindowRect(m_hwnd, &owner);
    GetWindowRect(host->hwnd(), &own);
    host->moveTo({owner.left + (owner.right - owner.left - (own.right - own.left)) / 2,
                  owner.top + (owner.bottom - owner.top - (own.bottom - own.top)) / 2});
    host->showModal(m_hwnd);
}

// A dialog that grows or shrinks keeps its upper edge; the window follows the dialog's new client size.
void MainFrameWindow::fitDialog(ui::Window& dialog) {
    const auto it = m_dialogHosts.find(&dialog);
    if (it == m_dialogHosts.end() || !it->second->hwnd()) return;
    const ui::Size client = dialog.clientSize();
    RECT r{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongPtrW(it->second->hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(it->second->hwnd(), GWL_EXSTYLE)));
    SetWindowPos(it->second->hwnd(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The tip is a popup owned by its dialog, so it stays above it; it never takes the activation from the
// dialog, whose button the mouse is over.
void MainFrameWindow::showTip(KVMouseTip& tip, ui::Window& owner) {
    const auto dialog = m_dialogHosts.find(&owner);
    const HWND ownerHwnd = dialog == m_dialogHosts.end() ? nullptr : dialog->second->hwnd();
    if (!tip.shown() || !ownerHwnd) {
        if (m_tipHost && m_tipHost->hwnd()) ShowWindow(m_tipHost->hwnd(), SW_HIDE);
        return;
    }
    if (!m_tipHost) {
        auto host = std::make_unique<ui::win32::ToolkitWindow>(tip.window(), m_resources);
        if (!host->create(ownerHwnd, KVMouseTip::kClassName, L"", WS_POPUP)) {
            KVLOG(L"mouse tip window not made");
            return;
        }
        SetWindowLongPtrW(host->hwnd(), GWL_EXSTYLE,
                          GetWindowLongPtrW(host->hwnd(), GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW);
        m_tipHost = std::move(host);
    }
    POINT at{tip.position().x, tip.position().y};
    ClientToScreen(ownerHwnd, &at);
    const ui::Size size = tip.window().clientSize();
    SetWindowPos(m_tipHost->hwnd(), HWND_TOP, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(m_tipHost->hwnd(), nullptr, FALSE);
}

// A menu is an owned popup that closes when the user activates anything else.
void MainFrameWindow::showMenu(ui::RQMenuWnd& menu) {
    m_retiredMenuHost = std::move(m_menuHost);
    m_menuHost = std::make_unique<ui::win32::ToolkitWindow>(*menu.window(), m_resources);
    if (!m_menuHost->create(m_hwnd, L"KVMultiMenu", L"", WS_POPUP | WS_BORDER)) return;
    m_menuHost->setCloseOnDeactivate(true);
    m_menuHost->moveTo(menu.position());
    ShowWindow(m_menuHost->hwnd(), SW_SHOW);
    SetForegroundWindow(m_menuHost->hwnd());
}

void MainFrameWindow::growHeight(int delta) {
    RECT r{};
    GetWindowRect(m_hwnd, &r);
    const int scaled = static_cast<int>(delta * m_frame.window().scale());
    SetWindowPos(m_hwnd, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + scaled,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK MainFrameWindow::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<MainFrameWindow*>(GetPropW(hwnd, L"KVMultiMainFrame"));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MainFrameWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr UINT keep = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    switch (message) {
    case WM_SYSCOMMAND: {
        const WPARAM command = wParam & 0xFFF0;
        if (command == SC_MINIMIZE) SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, keep);
        if (command == SC_MAXIMIZE || command == SC_RESTORE) SetWindowPos(m_hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
        break;
    }
    case WM_ACTIVATE:
        SetWindowPos(m_hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, keep);
        break;
    case kMsgCrash:
        KVLOG_AS("KVMultiMainFrame::MessageHandler", L"crash!!!!!!!!!!!!!!!!!!!");
        break;
    case WM_CLOSE:
        m_frame.closeRequest(); // the close box asks like the skin's close button
        return 0;
    case kMsgDestroySelf:
        DestroyWindow(m_hwnd);
        return 0;
    case WM_NCDESTROY: {
        const LRESULT result = CallWindowProcW(m_toolkitProc, m_hwnd, message, wParam, lParam);
        RemovePropW(m_hwnd, L"KVMultiMainFrame");
        m_hwnd = nullptr;
        m_frame.OnFinalMessage();
        const auto onDestroyed = std::move(m_onDestroyed);
        delete this;
        if (onDestroyed) onDestroyed();
        return result;
    }
    default:
        break;
    }
    return CallWindowProcW(m_toolkitProc, m_hwnd, message, wParam, lParam);
}

} // namespace mainui::win32
