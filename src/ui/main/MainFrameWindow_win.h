#pragma once
// The main window on the Windows desktop: the portable KVMultiMainFrame in a native top-level window of
// class "KVRemoteLoginFrame", its confirmations as owned popups, and the window messages only a native window
// sees (z-order on minimise, maximise, restore and activation; the close box; message 9000).
//
// The object owns itself once created: it deletes itself when its native window is destroyed, after telling
// the frame (OnFinalMessage) and calling `onDestroyed`. Close it by asking the frame, never by deleting it.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "core/model/KVMultiModel.h"
#include "core/storage/GlobalSettings.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinResources.h"
#include "toolkit/win32/ToolkitWindow_win.h"
#include "ui/main/KVMultiMainFrame.h"

namespace mainui::win32 {

// The application's dialogs the window opens; while one is missing, its items and buttons show disabled.
struct DialogOpeners {
    std::function<void(const std::vector<std::int32_t>& ids)> openSettings;
    // The product download's clients; without them a missing line is only reported.
    std::shared_ptr<install::InstallTransfers> installTransfers;
    // The group control windows (FrameServices names what each does).
    std::function<bool(KV_PRODUCT_TYPE, const std::wstring& group)> groupFrameOpen;
    std::function<void(KV_PRODUCT_TYPE, const std::wstring& group)> runGroupControl;
    std::function<void(KV_PRODUCT_TYPE, const std::wstring& oldName, const std::wstring& newName)> groupRenamed;
    std::function<void(KV_PRODUCT_TYPE, const std::wstring& group)> groupDeleted;
    std::function<void(KV_PRODUCT_TYPE, std::int32_t id, const std::wstring& group)> playerJoinedGroup;
    std::function<void(KV_PRODUCT_TYPE, std::int32_t id, const std::wstring& group)> playerLeftGroup;
    std::function<void(std::int32_t id)> instanceRemoved;
};

class MainFrameWindow {
public:
    // Other programs of the suite find the manager by this class.
    static constexpr const wchar_t* kClassName = L"KVRemoteLoginFrame";

    // Null when a skin is missing or the window cannot be created (logged). `monitorArea`: centre the window
    // there instead of on the primary work area. `groupControlOpen` tells whether a group frame is open.
    static HWND create(KVMultiModel& model, common::GlobalSettings& settings, std::optional<KV_PRODUCT_TYPE> product,
                       std::optional<RECT> monitorArea, std::function<void()> onDestroyed,
                       std::function<bool()> groupControlOpen, DialogOpeners dialogs = {});

    // The frame of a main window made here; null for any other window.
    static KVMultiMainFrame* frameOf(HWND window);

    // The work area of the monitor whose handle value the command line named; none for 0 or a stale value.
    static std::optional<RECT> workAreaOfMonitor(int handleValue);

private:
    MainFrameWindow(KVMultiModel& model, common::GlobalSettings& settings, DialogOpeners dialogs);
    ~MainFrameWindow();
    bool open(std::optional<KV_PRODUCT_TYPE> product, std::optional<RECT> monitorArea);
    FrameServices services(DialogOpeners dialogs);
    void showBox(msg::MessageBoxWindow& box);
    void showMenu(ui::RQMenuWnd& menu);
    void showDialog(ui::Window& dialog, const wchar_t* windowClass);
    void fitDialog(ui::Window& dialog);
    void showTip(KVMouseTip& tip, ui::Window& owner);
    void growHeight(int delta);
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    KVMultiModel& m_model;
    ui::ControlFactory m_factory;
    ui::SkinResources m_resources;
    KVMultiMainFrame m_frame;
    std::unique_ptr<ui::win32::ToolkitWindow> m_host;
    std::unique_ptr<ui::win32::ToolkitWindow> m_boxHost;
    std::unique_ptr<ui::win32::ToolkitWindow> m_retiredBoxHost; // its box may still be closing
    std::unique_ptr<ui::win32::ToolkitWindow> m_menuHost;
    std::unique_ptr<ui::win32::ToolkitWindow> m_retiredMenuHost;
    std::map<ui::Window*, std::unique_ptr<ui::win32::ToolkitWindow>> m_dialogHosts; // the frame's dialogs
    std::unique_ptr<ui::win32::ToolkitWindow> m_tipHost;                            // made on the tip's first showing
    HWND m_hwnd = nullptr;
    WNDPROC m_toolkitProc = nullptr;
    std::function<void()> m_onDestroyed;
    std::function<bool()> m_groupControlOpen;
};

} // namespace mainui::win32
