#pragma once
// A group control frame on the Windows desktop: the portable KVGroupControlFrame in a resizable native
// popup of class "KVGroupControlFrame" without an owner, whose children are the docked instance windows.
// The native side adds what only a real window has: its borders as sizing areas, the minimum tracking size,
// re-placing the instances while it is being sized, the 50 ms timer that grows a frame lower than one cell,
// its rectangle kept in the groups store, and its end.
//
// The registry owns it; when its native window is destroyed it calls `onDestroyed` at the very end, and the
// registry drops (deletes) it there.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/GroupControlRegistry.h"
#include "core/model/KVMultiModel.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinResources.h"
#include "toolkit/win32/ToolkitWindow_win.h"
#include "ui/groupcontrol/KVGroupControlFrame.h"

namespace groupcontrol::win32 {

struct FrameContext {
    KVMultiModel& model;
    common::GlobalSettings& settings; // the manager's own
    platform::DockDesktop& desktop;
    HWND mainWindow = nullptr; // the first frame opens on its monitor
    double scale = 1.0;
};

class GroupControlFrameWindow final : public app::GroupControlFrame {
public:
    using OnDestroyed = std::function<void(GroupControlFrameWindow&)>;

    // Creates, places and shows the frame of the group; null when a skin is missing or the window cannot be
    // made (logged).
    static std::unique_ptr<GroupControlFrameWindow> create(const FrameContext& context, int productType,
                                                           const std::wstring& group, OnDestroyed onDestroyed);
    ~GroupControlFrameWindow() override;

    HWND hwnd() const { return m_hwnd; }
    KVGroupControlFrame& frame() { return m_frame; }

    groupcontrol::GroupDock& dock() override { return m_frame.dock(); }
    const groupcontrol::GroupDock& dock() const override { return m_frame.dock(); }
    void bringToFront() override;
    void raise() override;
    void setShown(bool shown) override;
    void close() override;
    // The controls follow the dock; a frame higher than the screen less 40 pixels shrinks to that.
    void dockChanged() override;

private:
    GroupControlFrameWindow(const FrameContext& context, int productType);
    bool build(const std::wstring& group);
    void placeFirst();
    void showBox(msg::MessageBoxWindow& box);
    void storeRect();
    void onSized();
    LRESULT hitTest(LPARAM lParam);
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    FrameContext m_context;
    int m_productType;
    ui::ControlFactory m_factory;
    ui::SkinResources m_resources;
    KVGroupControlFrame m_frame;
    std::unique_ptr<ui::win32::ToolkitWindow> m_host;
    std::unique_ptr<ui::win32::ToolkitWindow> m_boxHost;
    std::unique_ptr<ui::win32::ToolkitWindow> m_retiredBoxHost;
    HWND m_hwnd = nullptr;
    WNDPROC m_toolkitProc = nullptr;
    OnDestroyed m_onDestroyed;
    DWORD m_lastResize = 0;
    bool m_wasMaximized = false;
};

} // namespace groupcontrol::win32
