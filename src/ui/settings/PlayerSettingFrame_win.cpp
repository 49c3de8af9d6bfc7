#include "ui/settings/PlayerSettingFrame_win.h"

#include "core/lang/LanguageStrings.h"
#include "core/lang/LoadResources.h"
#include "core/log/Log.h"
#include "core/platform/SystemFacts.h"
#include "core/product/ProductLine.h"
#include "core/storage/InstanceDefaults.h"
#include "toolkit/DisplaySettings.h"

namespace settingsui::win32 {

namespace {

constexpr const wchar_t* kFrameProperty = L"KVPlayerSettingFrame";

// What an instance's absent resolution, processor count and memory size stand for on this machine.
MachineDefaults machineDefaults(int index) {
    MachineDefaults d;
    d.resolution = common::defaults::resolutionFor(index, platform::primaryScreenWidth());
    d.resolutionDpi = common::defaults::dpiFor(d.resolution.width, d.resolution.height);
    d.cpuCount = common::defaults::cpuCount(platform::processorTopology());
    d.memorySize = common::defaults::memoryMb(platform::installedMemoryMb());
    return d;
}

common::SettingServices withHosts(common::SettingServices services, std::function<void(msg::MessageBoxWindow&)> showBox,
                                  std::function<void(ui::Window&, const wchar_t*)> showWindow,
                                  const ui::SkinResources& resources) {
    services.showBox = std::move(showBox);
    services.showWindow = std::move(showWindow);
    services.readSkin = [&resources](std::wstring_view file) -> std::optional<std::string> {
        auto skin = resources.read(file);
        if (!skin) KVLOG_AS("common::PlayerSettingWindow", L"skin %s not found", std::wstring(file));
        return skin;
    };
    return services;
}

} // namespace

PlayerSettingFrame::PlayerSettingFrame(KVMultiModel& model, common::PlayerSet& players,
                                       common::SettingServices services)
    : m_resources(common::lang::skinFolder(), &common::lang::resourcePack()),
      m_dialog(model, players,
               withHosts(
                   std::move(services), [this](msg::MessageBoxWindow& box) { showBox(box); },
                   [this](ui::Window& window, const wchar_t* className) { showPopup(window, className); },
                   m_resources)) {}

PlayerSettingFrame::~PlayerSettingFrame() = default;

HWND PlayerSettingFrame::create(KVMultiModel& model, common::PlayerSet& players, common::SettingServices services,
                                HWND owner, std::function<void()> onDestroyed) {
    auto* self = new PlayerSettingFrame(model, players, std::move(services));
    if (!self->build(owner)) {
        delete self; // a native window that was made is gone with its host, before the subclass
        return nullptr;
    }
    self->m_onDestroyed = std::move(onDestroyed);
    return self->m_hwnd;
}

PlayerSettingFrame* PlayerSettingFrame::fromWindow(HWND window) {
    return window ? static_cast<PlayerSettingFrame*>(GetPropW(window, kFrameProperty)) : nullptr;
}

bool PlayerSettingFrame::build(HWND owner) {
    const auto skin = m_resources.read(common::PlayerSettingWindow::kSkinFile);
    if (!skin) {
        KVLOG(L"skin %s not found", std::wstring(common::PlayerSettingWindow::kSkinFile));
        return false;
    }
    if (!m_dialog.create(m_factory, *skin)) return false;
    m_dialog.window().setScale(ui::displayScale());
    m_host = std::make_unique<ui::win32::ToolkitWindow>(m_dialog.window(), m_resources);
    if (!m_host->create(owner, common::PlayerSettingWindow::kClassName, m_dialog.window().title(),
                        WS_POPUP | WS_BORDER))
        return false;
    m_hwnd = m_host->hwnd();
    m_owner = owner;
    SetPropW(m_hwnd, kFrameProperty, this);
    m_toolkitProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PlayerSettingFrame::subclassProc)));
    return true;
}

void PlayerSettingFrame::open(const std::vector<std::int32_t>& ids, common::PlayerSettingWindow::OnSaved onSaved) {
    if (ids.empty()) return;
    KVLOG_AS("common::PlayerSettingWindow::open", L"settings of %d, %d instance(s)", static_cast<int>(ids.front()),
             static_cast<int>(ids.size()));
    m_dialog.open(ids, machineDefaults(product::indexOfId(ids.front())), std::move(onSaved));
    m_dialog.window().showModal(m_modalOwner);
    m_host->showModal(m_owner); // centred over the main window
}

void PlayerSettingFrame::showBox(msg::MessageBoxWindow& box) {
    if (box.window()) showPopup(*box.window(), L"KVMultiMessageBox");
}

void PlayerSettingFrame::showPopup(ui::Window& window, const wchar_t* className) {
    m_retiredBoxHost = std::move(m_boxHost);
    m_boxHost = std::make_unique<ui::win32::ToolkitWindow>(window, m_resources);
    if (!m_boxHost->create(m_hwnd, className, window.title(), WS_POPUP | WS_BORDER)) return;
    m_boxHost->showModal(m_hwnd); // centred over the dialog
}

LRESULT CALLBACK PlayerSettingFrame::subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PlayerSettingFrame* self = fromWindow(hwnd);
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT PlayerSettingFrame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_NCDESTROY) return CallWindowProcW(m_toolkitProc, m_hwnd, message, wParam, lParam);
    const LRESULT result = CallWindowProcW(m_toolkitProc, m_hwnd, message, wParam, lParam);
    RemovePropW(m_hwnd, kFrameProperty);
    m_hwnd = nullptr;
    const auto onDestroyed = std::move(m_onDestroyed);
    delete this;
    if (onDestroyed) onDestroyed();
    return result;
}

} // namespace settingsui::win32
