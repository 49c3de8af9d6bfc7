#include "ui/groupcontrol/GroupControlSetup_win.h"

#include "core/lang/LoadResources.h"
#include "core/log/Log.h"
#include "toolkit/DisplaySettings.h"

namespace groupcontrol::win32 {

GroupControlSetupWindow::GroupControlSetupWindow(common::GlobalSettings& settings, std::function<void()> onSaved)
    : m_resources(common::lang::skinFolder(), &common::lang::resourcePack()), m_dialog(settings, std::move(onSaved)) {}

GroupControlSetupWindow::~GroupControlSetupWindow() = default;

bool GroupControlSetupWindow::build(HWND frame) {
    if (!m_created) {
        const auto skin = m_resources.read(KVGroupControlSetuup::kSkinFile);
        if (!skin) {
            KVLOG(L"skin %s not found", std::wstring(KVGroupControlSetuup::kSkinFile));
            return false;
        }
        if (!m_dialog.create(m_factory, *skin)) return false;
        m_dialog.window().setScale(ui::displayScale());
        m_created = true;
    }
    m_host.reset(); // its window went with the frame that owned it
    m_host = std::make_unique<ui::win32::ToolkitWindow>(m_dialog.window(), m_resources);
    return m_host->create(frame, KVGroupControlSetuup::kClassName, L"", WS_POPUP | WS_BORDER);
}

void GroupControlSetupWindow::open(HWND frame) {
    const bool alive = m_host && m_host->hwnd() && GetWindow(m_host->hwnd(), GW_OWNER) == frame;
    if (!alive && !build(frame)) return;
    m_dialog.open();
    m_dialog.window().showModal(m_modalOwner);
    m_host->showModal(frame); // centred over the frame
}

} // namespace groupcontrol::win32
