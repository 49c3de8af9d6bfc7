#pragma once
// The manager's main window: the instances of one product line in a list, a tab per line that has
// instances, the tool bar and the close button. Every gesture becomes a call on the instance model, and the
// model's reports (the events this window subscribes to, before any other window) redraw rows.
//
// The window logic is portable: the native host (Win32 on the desktop, the headless host in tests) gives it
// the few things only a real window can do through `FrameServices`. Everything here runs on the
// user-interface thread. Controls that open a window of later work (dialogs, product downloads) show
// disabled until the host provides that window.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "core/dispatch/Dispatcher.h"
#include "core/install/ProductInstall.h"
#include "core/model/KVMultiModel.h"
#include "core/storage/GlobalSettings.h"
#include "core/storage/WorkerTasks.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/MenuWnd.h"
#include "toolkit/MessageBox.h"
#include "toolkit/NamedParts.h"
#include "toolkit/Window.h"
#include "ui/main/KVAddPlayerFrame.h"
#include "ui/main/KVCopyPlayerFrame.h"
#include "ui/main/KVMoveGroupWnd.h"
#include "ui/main/KVMultiGroupMainItem.h"
#include "ui/main/KVMultiMainItem.h"
#include "ui/main/MenuRules.h"
#include "ui/setup/FileRequest.h"
#include "ui/setup/GameQualityChangeTipFrame.h"
#include "ui/setup/MultiBackupRestoreWindow.h"
#include "ui/setup/MultiOtherSetupFrame.h"
#include "ui/setup/MultiSetupFrame.h"

namespace mainui {

// What the shortcut of a row points at.
struct ShortcutRequest {
    std::wstring target;        // the line's "rqplayer.exe"
    std::wstring arguments;     // "index=N"
    std::wstring workingFolder; // the install folder
    std::wstring name;          // the file is this name + ".lnk" on the desktop (desktopShortcutName)
};

// How a list rebuild goes: refreshList({.switchTabsTo = line, .reloadModel = true}).
struct ListRefresh {
    // The tabs are chosen again, preferring this line; without it the current line stays.
    std::optional<KV_PRODUCT_TYPE> switchTabsTo;
    bool animate = false;     // the window's height follows the tab bar gradually (only with switchTabsTo)
    bool reloadModel = false; // the model reads the instance lists from disk first
    bool keepSearch = false;  // else the search ends and its text is emptied
};

struct FrameServices {
    // Shows a built message box modally over the main window.
    std::function<void(msg::MessageBoxWindow&)> showBox;
    // The window's height changes by this many skin pixels (the tab bar came or went).
    std::function<void(int deltaHeight, bool animate)> growHeight;
    std::function<bool()> groupControlOpen;
    // The group control window of one group: whether it is open, and opening or closing it. Without
    // runGroupControl the group menu shows the item disabled.
    std::function<bool(KV_PRODUCT_TYPE, const std::wstring& group)> groupFrameOpen;
    std::function<void(KV_PRODUCT_TYPE, const std::wstring& group)> runGroupControl;
    // An open group control window follows its group's new name, and forgets a group that was deleted.
    std::function<void(KV_PRODUCT_TYPE, const std::wstring& oldName, const std::wstring& newName)> groupRenamed;
    std::function<void(KV_PRODUCT_TYPE, const std::wstring& group)> groupDeleted;
    // An instance joined a group (leaving the one it was in) or left one: open group control windows follow.
    std::function<void(KV_PRODUCT_TYPE, std::int32_t id, const std::wstring& group)> playerJoinedGroup;
    std::function<void(KV_PRODUCT_TYPE, std::int32_t id, const std::wstring& group)> playerLeftGroup;
    // Tells a running storage operation to stop and waits for it (at most 1000 ms).
    std::function<void()> stopStorageOperation;
    std::function<bool(const ShortcutRequest&)> createShortcut;
    // The window closes with this code (the native host destroys it; the program ends).
    std::function<void(int code)> closeWindow;
    // Shows an opened popup menu at its position; menus are placed in screen pixels, from window pixels
    // turned by `clientToScreen` (none: the same).
    std::function<void(ui::RQMenuWnd&)> showMenu;
    std::function<ui::Point(ui::Point client)> clientToScreen;
    // Shows a dialog of this window modally over it (made once, shown again each time), in a native window
    // of this class when the host makes one.
    std::function<void(ui::Window&, const wchar_t* windowClass)> showDialog;
    // A shown dialog's client size changed (a step of its grow or shrink).
    std::function<void(ui::Window&)> dialogResized;
    // Shows the tip beside the control under the mouse, or hides it (`KVMouseTip::shown`); its position is
    // in the pixels of `owner`, the dialog the control belongs to.
    std::function<void(KVMouseTip&, ui::Window& owner)> showTip;
    // What the host machine offers new instances; without it the add dialog offers one core and no memory
    // item beyond the smallest.
    std::function<HostFacts()> hostFacts;
    // The bytes free to the user on the volume holding `folder`; none when the system cannot tell.
    std::function<std::optional<std::uint64_t>(const std::filesystem::path& folder)> freeDiskBytes;

    // The windows of later work. While one is missing, the items and buttons that open it show disabled.
    // The instance settings dialog for these ids: one, or several in batch mode (an open one closes first).
    std::function<void(const std::vector<std::int32_t>& ids)> openSettings;
    std::function<void()> openAddDialog; // for one new instance
    // The copy dialog with this source; -1 lets the user pick it.
    std::function<void(std::int32_t source)> openCopyDialog;
    std::function<void(std::int32_t id)> openBackup;
    // The system's save and open file dialogs over this window; the backup window needs both.
    setupui::FileChooser chooseSaveFile;
    setupui::FileChooser chooseOpenFile;
    std::function<void()> openSetup;      // the manager setup dialog
    std::function<void()> openOtherSetup; // the other-settings dialog of lines 0 to 2
    // Whether a drive ("C:") is a solid-state drive; without it every installed line counts as on a slow disk.
    setupui::SolidStateQuery solidState;
    // The group control windows forget a removed instance.
    std::function<void(std::int32_t id)> instanceRemoved;

    // Brings an instance's window forward: restored when minimised, made topmost and the foreground window,
    // then put back out of the topmost band.
    std::function<void(platform::WindowHandle)> bringForward;
    // Puts the main window into the topmost band (it leaves it again when activated).
    std::function<void()> makeTopmost;
    std::function<void(const std::wstring& url)> openUrl;

    // The product download's clients and installer run, and the folder its installers are saved in (the
    // program's). Without them a line that is not installed is only reported to the user.
    std::shared_ptr<install::InstallTransfers> installTransfers;
    std::filesystem::path installerFolder;
};

// The skins the window is built from, as their files hold them.
struct FrameSkins {
    std::string_view window;     // KVMultiMainFrame::kSkinFile
    std::string_view row;        // kRowSkinFile
    std::string_view groupRow;   // kGroupRowSkinFile
    std::string_view moveGroup;  // KVMoveGroupWnd::kSkinFile, parsed when that dialog first opens
    std::string_view menu;       // ui::RQMenuWnd::kSkinFile, parsed each time a menu opens
    std::string_view addPlayer;  // KVAddPlayerFrame::kSkinFile, parsed when the add dialog first opens
    std::string_view mouseTip;   // KVMouseTip::kSkinFile, the add dialog's help tip
    std::string_view copyPlayer; // KVCopyPlayerFrame::kSkinFile, parsed when the copy dialog first opens
    // The manager-wide windows, each parsed on first use.
    std::string_view backup;     // setupui::MultiBackupRestoreWindow::kSkinFile
    std::string_view setup;      // setupui::MultiSetupFrame::kSkinFile
    std::string_view otherSetup; // setupui::MultiOtherSetupFrame::kSkinFile
    std::string_view qualityTip; // view::GameQualityChangeTipFrame::kSkinFile
};

class KVMultiMainFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_multis_player_rootwindow.xml";
    static constexpr const wchar_t* kRowSkinFile = L"xml_multis_player_list_item.xml";
    static constexpr const wchar_t* kGroupRowSkinFile = L"xml_multis_player_list_groupitem.xml";
    static constexpr int kCloseCode = 442;

    KVMultiMainFrame(KVMultiModel& model, common::GlobalSettings& settings, const ui::ControlFactory& factory,
                     FrameServices services);
    ~KVMultiMainFrame();
    KVMultiMainFrame(const KVMultiMainFrame&) = delete;
    KVMultiMainFrame& operator=(const KVMultiMainFrame&) = delete;

    // Builds the window from its skins, fills the list and registers with the model. False when a skin
    // does not parse (logged).
    bool init(const FrameSkins& skins, std::optional<KV_PRODUCT_TYPE> requested);
    ui::Window& window() { return m_window; }

    void refreshList(const ListRefresh& how);
    KVMultiMainItem* findRow(std::int32_t id);
    void showOverlay(bool show) { m_window.showOverlay(show); }
    void updateSelection();
    // The batch bar replaces the tool bar while anything shown in the list is checked.
    void enterBatchBar();
    void leaveBatchBar();
    void leaveBatchBarIfEmpty();
    bool batchBarShown() const { return m_batchBar; }
    // Checking or clearing every row shown; checking leaves rows being made (new or as a copy), a copy's
    // source, a failed copy and the product row's states alone.
    void selectAll(bool checked);
    // The ids of the checked rows shown, in list order.
    std::vector<std::int32_t> selectedIds() const;
    // Group rows and their commands.
    KVMultiGroupMainItem* findGroupRow(std::wstring_view name);
    void addGroup();
    void deleteGroup(const std::wstring& name);
    // The instances leave their groups; their rows stay where they are until the next rebuild.
    void moveOutOfGroup(const std::vector<std::int32_t>& ids);
    // The move-to-group dialog for these instances; with no group yet it offers to make one.
    void openMoveToGroup(std::vector<std::int32_t> ids);
    KVMoveGroupWnd* moveGroupWnd() const { return m_moveGroupWnd.get(); }
    // The add dialog with `count` in its count edit, made on first use; it shows this window's line when
    // that is line 2 or 0.
    void showAddPlayerFrame(int count);
    KVAddPlayerFrame* addPlayerFrame() const { return m_addPlayerFrame.get(); }
    // Creates `count` instances of the line one after another; the rows show their progress.
    void startAddSeries(KV_PRODUCT_TYPE product, int count, const common::CloneSetting& setting);
    void startPendingSeries();
    int addingCount() const { return m_addingCount; }
    // The copy dialog, made on first use: this window's line preselected, and `source` in it when given.
    void showCopyPlayerFrame(std::optional<std::int32_t> source);
    KVCopyPlayerFrame* copyPlayerFrame() const { return m_copyPlayerFrame.get(); }
    // The backup/restore window for one instance, made on first use (KVMultiMainFrameSetup.cpp).
    void showBackupRestoreWindow(std::int32_t id);
    setupui::MultiBackupRestoreWindow* backupRestoreWindow() const { return m_backupRestoreWindow.get(); }
    // The manager setup dialog and the other-settings dialog, made on first use.
    void showSetupFrame();
    void showOtherSetupFrame();
    setupui::MultiSetupFrame* setupFrame() const { return m_setupFrame.get(); }
    setupui::MultiOtherSetupFrame* otherSetupFrame() const { return m_otherSetupFrame.get(); }
    view::GameQualityChangeTipFrame* qualityTip() const { return m_qualityTip.get(); }
    // After the last create or copy of a series: a warning when the line's volume has less than 4 GiB free.
    void checkDiskSpace(std::int32_t id);
    // Search mode holds while the search box shows; its text filters the list.
    void enterSearch();
    void leaveSearch();
    bool searchMode() const;
    void onNotify(const ui::Notify& notify);
    // The commands of the instance menu on one instance ("setup", "copy", "run", "save", "shortcut",
    // "moveToGrouup", "moveOutGroup", "delete").
    void onInstanceCommand(std::int32_t id, const std::wstring& command);
    // The add menu's, the sequence menu's and the main menu's commands.
    void onAddCommand(const std::wstring& command);
    void onSequenceCommand(const std::wstring& command);
    // The main menu's handler also takes "MENU_HELP": the help page in the default browser.
    void onMainMenuCommand(const std::wstring& command);
    // The batch commands on the selection: "MENU_RUN", "MENU_CLOSE", "MENU_REMOVE", "MENU_BATCH",
    // "MENU_MOVE_GROUP", "MENU_MOVEOUT_GROUP".
    void doBatchOpMenuCommand(const std::wstring& command);
    // Whether a batch start still has instances to start.
    bool batchStartRunning() const { return m_batchStartTimer.isActive(); }
    void closeRequest();
    // The native window is going: pending posts and delayed calls are dropped, the model forgets this window.
    void OnFinalMessage();

    // The product download and install of a line (KVMultiMainFrameInstall.cpp). A second start while one
    // runs only tells the user to wait. `update`: the line is installed but too old (the group control).
    void startDownloadPlayer(KV_PRODUCT_TYPE product, bool update);
    // The group control's update of an instance whose emulator is too old: its line's installer, as an update.
    void updatePlayerOf(std::int32_t id);
    // The install folders read again, the new line's storage and settings set up, and with
    // `startPendingCreates` the creates that waited for the install started.
    void onPlayerInstalled(KV_PRODUCT_TYPE product, bool startPendingCreates);
    // An installer's own progress report (message 25000): the product row's bar.
    void installProgress(std::intptr_t first, std::intptr_t value);
    int pendingCount() const { return m_pendingCount; }

    KV_PRODUCT_TYPE currentProduct() const { return m_currentProduct; }
    int installState() const { return m_installState; }
    void setInstallState(int state) { m_installState = state; }
    int copiesLeft() const { return m_copiesLeft; }
    void startCopySeries(std::int32_t source, int count);
    // The product row of the install flow: kept across list rebuilds, shown only on its own line.
    KVMultiMainItem* productRow() const { return m_productRow; }
    void setProductRow(std::unique_ptr<KVMultiMainItem> row, KV_PRODUCT_TYPE product);
    // An empty row of the row skin.
    std::unique_ptr<KVMultiMainItem> newRow() const { return m_rowTemplate->copy(); }
    // One key for this window's life: its posts, delayed calls and model subscriptions.
    common::OwnerKey ownerKey() const { return m_ownerKey; }
    // The model's status refresh as the window's timer runs it.
    void refreshTick() { m_model.refreshPlayerStatus(); }
    // The popup menu on screen, if any.
    ui::RQMenuWnd* currentMenu() const { return m_menu && m_menu->isOpen() ? m_menu.get() : nullptr; }
    // The confirmation or notice on screen, if any.
    msg::MessageBoxWindow* currentBox() const { return m_box && m_box->isOpen() ? m_box.get() : nullptr; }

private:
    // A control of the window's own skin by name, from a table made once before any row exists: a search
    // through the window would walk the thousands of controls of the list's rows first.
    template <class T = ui::Control>
    T* part(std::wstring_view name) const {
        return m_parts.find<T>(name);
    }
    void initTitleAndTips();
    void applyTabs(KV_PRODUCT_TYPE requested, bool animate);
    void addRows(const std::wstring& search);
    KVMultiMainItem* addInstanceRow(ui::List& list, const model::InstanceRecord& record, std::wstring_view groupName,
                                    const std::wstring& search);
    void collapseStoredGroups();
    OpenableWindows openableWindows() const;
    void disableMissingWindowButtons();
    void openInstanceMenu(KVMultiMainItem& row, std::optional<ui::Point> at);
    void fillMenu(ui::RQMenuWnd& menu, const std::vector<MenuEntry>& entries);
    void bringInstanceForward(std::int32_t id);
    void confirmDelete(std::int32_t id);
    void removeDeferred(std::int32_t id);
    void onRemoveButton(KVMultiMainItem& row);
    void takeRowOut(std::int32_t id);
    void arrangeRunning(const std::vector<std::int32_t>& ids);
    void openBatchMenu(const ui::Control& anchor);
    void startSelected();
    void startNextQueued();
    void stopSelected();
    void removeSelected();
    void openBatchSettings();
    void subscribeToModel();
    void switchProduct(KV_PRODUCT_TYPE product);
    void onStartButton(KVMultiMainItem& row);
    void onStopDownloadButton(KVMultiMainItem& row);
    void onInstallButton(KVMultiMainItem& row);
    void stopProductDownload();
    void restartDownload();
    void onDownloadProgress(int percent);
    void onDownloadFailed();
    void onInstallerDownloaded(const std::filesystem::path& installer);
    void onInstallEnded(bool succeeded, bool fromInstallButton);
    void runWaitingInstaller();
    void forgetProductRow();
    void onShortcut(KVMultiMainItem& row);
    void onPlayerAdded(KV_PRODUCT_TYPE product, std::int32_t id);
    void onCreateFinished(std::int32_t id);
    void onCopyFinished(std::int32_t id);
    void reloadRow(std::int32_t id, int status);
    // The size known for the instance's folder, 0 until its walk has reported; unknown folders are queued.
    std::uint64_t diskSizeOf(std::int32_t id);
    // Walks the queued folders on a worker thread; the sizes come back through the dispatcher.
    void startDiskWalks();
    void onDiskSizes(const std::vector<std::pair<std::int32_t, std::uint64_t>>& sizes);
    // A fresh menu to fill, shown by the popup below.
    ui::RQMenuWnd& newMenu();
    // Opens the menu below the control (`dx`, `dy` from its lower-left corner) or at a window point.
    void popupMenuBelow(const ui::Control& anchor, int dx, int dy, ui::RQMenuWnd::Callback onCommand);
    void popupMenuAt(ui::Point client, ui::RQMenuWnd::Callback onCommand);
    // A new menu of these entries below the control.
    void popupMenuFor(const ui::Control& anchor, int dx, int dy, const std::vector<MenuEntry>& entries,
                      ui::RQMenuWnd::Callback onCommand);
    void openSortMenu(const ui::Control& sortBtn);
    // The instance and group rows of the list in list order, without the product row.
    struct ListRows {
        std::vector<KVMultiMainItem*> rows;
        std::vector<KVMultiGroupMainItem*> groups;
    };
    ListRows listRows() const;
    void onRowCheckChanged(KVMultiMainItem& row);
    void onGroupNotify(const ui::Notify& n, KVMultiGroupMainItem& group);
    void onGroupBackgroundClicked(KVMultiGroupMainItem& group);
    void onGroupCheckChanged(KVMultiGroupMainItem& group);
    void onExpandClicked(KVMultiGroupMainItem& group);
    void endGroupRename(KVMultiGroupMainItem& group);
    void openGroupMenu(KVMultiGroupMainItem& group, std::optional<ui::Point> at);
    // Opens or closes the group's control window; one of its instances with too old an emulator is offered
    // an update instead.
    void runGroupControl(const std::wstring& name);
    void startScrollToEnd();
    void afterCheckChanged(bool checked);
    void showSelectedCount(int count);
    void showSelectionBoxes(bool show);
    void onSearchTextChanged();
    void clearSearch();
    void showSearchClear(bool show);
    void setShown(std::wstring_view name, bool shown);
    // The other-settings button shows for lines 0 to 2 while neither the batch bar nor the search does.
    void updateOtherSetupButton();
    void confirm(std::wstring_view textKey, std::function<void()> onConfirm);
    void notice(std::wstring text);
    // The model's notices come as boxes once the current input (a dialog's save) is over.
    struct ModelNotices final : model::Notices {
        explicit ModelNotices(KVMultiMainFrame& owner) : m_frame(owner) {}
        void showMessage(const std::wstring& title, const std::wstring& text) override;
        KVMultiMainFrame& m_frame;
    };
    void warning(std::wstring text);
    void onProductMissing(KV_PRODUCT_TYPE product, int count, const common::CloneSetting& setting);
    void onCopyConfirmed(std::int32_t source, int count);
    void copyIfItFits(std::int32_t source, int count, std::uint64_t sourceBytes);
    void showBox(std::unique_ptr<msg::MessageBoxWindow> box);
    void chooseBackupFile(bool compress);
    void chooseRestoreFile();
    void onArchiveProgress(std::int32_t id, int percent);
    void onArchiveFinished(std::int32_t id, bool restore, bool ok);
    void showQualityTip();
    void closeWindow();

    KVMultiModel& m_model;
    ModelNotices m_notices{*this};
    const common::OwnerKey m_ownerKey = common::newOwnerKey();
    common::GlobalSettings& m_settings;
    const ui::ControlFactory& m_factory;
    FrameServices m_services;
    ui::Window m_window;
    ui::NamedParts m_parts;                         // the window's own controls, collected before any row exists
    std::unique_ptr<KVMultiMainItem> m_rowTemplate; // parsed once, copied per row
    std::unique_ptr<KVMultiGroupMainItem> m_groupTemplate;
    std::string m_moveGroupSkin;
    std::string m_menuSkin;
    std::unique_ptr<KVMoveGroupWnd> m_moveGroupWnd; // made on first use
    std::string m_addPlayerSkin;
    std::string m_mouseTipSkin;
    std::unique_ptr<KVAddPlayerFrame> m_addPlayerFrame; // made on first use
    std::string m_copyPlayerSkin;
    std::unique_ptr<KVCopyPlayerFrame> m_copyPlayerFrame; // made on first use
    std::string m_backupRestoreSkin;
    std::unique_ptr<setupui::MultiBackupRestoreWindow> m_backupRestoreWindow; // made on first use
    std::int32_t m_backupId = -1;             // the instance the backup window was opened for
    std::filesystem::path m_lastBackupFolder; // where the last backup of this run went
    std::string m_setupSkin;
    std::unique_ptr<setupui::MultiSetupFrame> m_setupFrame; // made on first use
    std::string m_otherSetupSkin;
    std::unique_ptr<setupui::MultiOtherSetupFrame> m_otherSetupFrame; // made on first use
    std::string m_qualityTipSkin;
    std::unique_ptr<view::GameQualityChangeTipFrame> m_qualityTip; // made on first use

    KV_PRODUCT_TYPE m_currentProduct = KV_PRODUCT_14;
    KVMultiMainItem* m_productRow = nullptr;
    std::unique_ptr<KVMultiMainItem> m_productRowHeld; // while it is out of the list
    KV_PRODUCT_TYPE m_productRowProduct = KV_PRODUCT_14;
    int m_installState = 0;
    bool m_installUpdate = false;
    bool m_installFromButton = false;
    std::filesystem::path m_waitingInstaller;                  // downloaded while instances ran
    std::unique_ptr<install::ProductInstall> m_productInstall; // made on the first download
    int m_addingCount = 0;
    KV_PRODUCT_TYPE m_addingProduct = KV_PRODUCT_14;
    common::CloneSetting m_addingSetting;
    int m_pendingCount = 0;
    KV_PRODUCT_TYPE m_pendingProduct = KV_PRODUCT_14;
    common::CloneSetting m_pendingSetting;
    int m_copiesLeft = 0;
    std::int32_t m_copySource = -1;
    std::unordered_map<std::int32_t, KVMultiMainItem*> m_rows;
    std::unordered_map<std::int32_t, std::uint64_t> m_diskSizes; // folder walks are kept until a reload
    std::vector<std::pair<std::int32_t, std::filesystem::path>> m_unwalked;
    std::unordered_set<std::int32_t> m_walking;
    bool m_suppressScroll = false;
    bool m_batchBar = false;
    bool m_tabBarShown = true; // as the skin draws it
    common::TimerHandle m_scrollTimer;
    common::TimerHandle m_batchStartTimer;
    std::vector<std::int32_t> m_startQueue; // a batch start's instances, started up to m_startPosition
    std::size_t m_startPosition = 0;
    std::unique_ptr<ui::RQMenuWnd> m_pendingMenu; // being filled
    std::unique_ptr<ui::RQMenuWnd> m_menu;
    std::unique_ptr<ui::RQMenuWnd> m_retiredMenu; // its host may still hold its window
    std::unique_ptr<msg::MessageBoxWindow> m_box;
    std::unique_ptr<msg::MessageBoxWindow> m_retiredBox; // a box's callback may open the next one
    // Reports of the folder walks hold this weakly: one that arrives after the window is gone does nothing.
    std::shared_ptr<KVMultiMainFrame*> m_self = std::make_shared<KVMultiMainFrame*>(this);
    common::WorkerTasks m_walks; // last: destroyed first, waiting for a walk that still runs
};

} // namespace mainui
