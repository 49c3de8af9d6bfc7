#pragma once
// The instance settings dialog on the Windows desktop: the portable PlayerSettingWindow in a native window of
// class "KVPlayerSettingFrame", owned by the main window and modal over it while shown, with its message boxes
// as owned popups over the dialog.
//
// Made once and shown again for each request. The object owns itself once created: it deletes itself when its
// native window is destroyed (with its owner, at the latest), after calling `onDestroyed`.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "core/storage/PlayerSet.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinResources.h"
#include "toolkit/win32/ToolkitWindow_win.h"
#include "ui/settings/PlayerSettingWindow.h"

namespace settingsui::win32 {

class PlayerSettingFrame {
public:
    // Null when the skin is missing or the window cannot be created (logged). `services.showBox` is the
    // frame's own.
    static HWND create(KVMultiModel& model, common::PlayerSet& players, common::SettingServices services, HWND owner,
                       std::function<void()> onDestroyed);
    // The frame of a window made by create; null for any other window.
    static PlayerSettingFrame* fromWindow(HWND window);

    // Loads the instances' settings (several: batch mode) and shows the dialog modally, centred over its owner.
    void open(const std::vector<std::int32_t>& ids, common::PlayerSettingWindow::OnSaved onSaved);

private:
    PlayerSettingFrame(KVMultiModel& model, common::PlayerSet& players, common::SettingServices services);
    ~PlayerSettingFrame();
    bool build(HWND owner);
    void showBox(msg::MessageBoxWindow& box);
    // Hosts one of the dialog's own windows (a box, the shared-folder size question) modally over it.
    void showPopup(ui::Window& window, const wchar_t* className);
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    ui::ControlFactory m_factory;
    ui::SkinResources m_resources;
    common::PlayerSettingWindow m_dialog;
    // The dialog's modality over the main window is the native host's; the toolkit's side of it needs an
    // owner window of its own, which never shows.
    ui::Window m_modalOwner;
    std::unique_ptr<ui::win32::ToolkitWindow> m_host;
    std::unique_ptr<ui::win32::ToolkitWindow> m_boxHost;
    std::unique_ptr<ui::win32::ToolkitWindow> m_retiredBoxHost; // its window may still be closing
    HWND m_hwnd = nullptr;
    HWND m_owner = nullptr;
    WNDPROC m_toolkitProc = nullptr;
    std::function<void()> m_onDestroyed;
};

} // namespace settingsui::win32
