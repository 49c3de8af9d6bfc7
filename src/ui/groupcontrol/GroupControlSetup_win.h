#pragma once
// The group control settings dialog on the Windows desktop: the portable KVGroupControlSetuup in a native
// popup of class "KVGroupControlSetuup", owned by the frame that opened it and modal over it. Made once and
// shown again; when the frame that owned it closes, its native window goes with it and the next opening
// makes a new one.

#include <windows.h>

#include <functional>
#include <memory>

#include "core/storage/GlobalSettings.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinResources.h"
#include "toolkit/win32/ToolkitWindow_win.h"
#include "ui/groupcontrol/KVGroupControlSetuup.h"

namespace groupcontrol::win32 {

class GroupControlSetupWindow {
public:
    // `onSaved` runs after every save (the frames lay themselves out again).
    GroupControlSetupWindow(common::GlobalSettings& settings, std::function<void()> onSaved);
    ~GroupControlSetupWindow();

    // Shows the settings as the file holds them, modally over `frame`.
    void open(HWND frame);

private:
    bool build(HWND frame);

    ui::ControlFactory m_factory;
    ui::SkinResources m_resources;
    KVGroupControlSetuup m_dialog;
    ui::Window m_modalOwner; // the toolkit's side of the modality; never shown
    std::unique_ptr<ui::win32::ToolkitWindow> m_host;
    bool m_created = false;
};

} // namespace groupcontrol::win32
