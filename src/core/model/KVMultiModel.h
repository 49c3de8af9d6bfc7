#pragma once
// The instance model: the install folders of the product lines, the instance list of every line with a
// derived status, the groups, and the one entry point through which the user interface creates, clones,
// starts, stops, removes, renames and arranges instances. One exists per process.
//
// Everything here runs on the user-interface thread. Work that blocks (disk copies, removing an instance)
// runs on worker threads, which reach the model only through tasks posted under the model's owner key;
// shutdown cancels that key, so a late report is dropped instead of touching a model that is going away.
// The disk and process work itself belongs to the storage objects; the desktop is asked through
// InstanceDesktop, so the model builds and is tested natively.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/arrange/WindowArranger.h"
#include "core/dispatch/Dispatcher.h"
#include "core/model/BatchSettings.h"
#include "core/model/GroupStore.h"
#include "core/model/InstallDiscovery.h"
#include "core/model/InstanceRecord.h"
#include "core/model/ModelEvents.h"
#include "core/model/StatusProbe.h"
#include "core/platform/InstallSources.h"
#include "core/platform/InstanceDesktop.h"
#include "core/platform/Os.h"
#include "core/storage/PlayerSet.h"
#include "core/storage/WorkerTasks.h"

class KVMultiModel {
public:
    // `programFolder` holds "data\" (groups) and "vms\" (the first-run markers).
    KVMultiModel(common::PlayerSet& players, platform::InstallSources& sources, platform::InstanceDesktop& desktop,
                 platform::WindowSystem& windows, std::filesystem::path programFolder = platform::programFolder());
    ~KVMultiModel();
    KVMultiModel(const KVMultiModel&) = delete;
    KVMultiModel& operator=(const KVMultiModel&) = delete;

    // Start-up: the command line ("monitor=..|product=..", may be null), the "data" folder, the groups and
    // the first-run markers.
    void init(const wchar_t* commandLine);
    // Saves the groups, stops the timers and drops every report still on its way to the model.
    void shutdown();

    // Finds the five install folders (config file, registry, shortcuts), keeps them and copies them out.
    void getPlayerPath(std::wstring& path32, std::wstring& path64, std::wstring& path9, std::wstring& path3,
                       std::wstring& path14);
    const model::InstallFolders& installFolders() const { return m_folders; }
    bool isInstalled(KV_PRODUCT_TYPE line) const { return !m_folders[static_cast<std::size_t>(line)].empty(); }

    // The last-run product line: `line` keeps the caller's value when none is stored; 0 to 3 are taken as
    // stored, every other number as 4. The first value read is kept for the life of the process.
    void readLastRun(int& line);
    void writeLastRun(KV_PRODUCT_TYPE line);

    // The line to preselect: the last-run line when it is installed, else the first installed of 4, 2, 0, 1,
    // 3; -1 when none is installed.
    int defaultProductLine();
    // Its storage object (line 4's when nothing is installed).
    common::Players& defaultProductPlayers();

    // Whether the executable of the id's line is recent enough for the group control features.
    bool isPlayerVersionSupported(std::int32_t id);

    // Instance lists (KVMultiModelList.cpp). With disk sizes, every record walks its folder.
    void reloadPlayerList(bool withDiskSizes = false);
    // Every second: which instances run now; reports each start and stop once.
    void refreshPlayerStatus();
    bool anyPlayerWindowOpen();
    const std::vector<model::InstanceRecord>& playerList(KV_PRODUCT_TYPE line) const {
        return m_lists[static_cast<std::size_t>(line)];
    }
    const model::InstanceRecord* findRecord(std::int32_t id) const;
    // The record of `index` as its configuration and folder describe it (its windows are the list's to find).
    // A caller that walks the folder sets the disk size and the copy marker from its walk; else the marker is
    // looked up here.
    void fillRecord(model::InstanceRecord& record, int index, const common::Players& players,
                    bool folderWalked = false);
    // The configurations of these instances were saved: their records read their settings again and the
    // windows hear it. Ids that are not listed are left out.
    void reloadSettings(const std::vector<std::int32_t>& ids);

    // Operations on instances (KVMultiModelOperations.cpp).
    void addPlayer(KV_PRODUCT_TYPE line, common::CloneSetting setting);
    void copyPlayer(std::int32_t sourceId);
    // `extraParameters` go to the emulator after the monitor of the main window, joined by "|".
    void launch(std::int32_t id, std::wstring_view extraParameters = {});
    void stop(std::int32_t id);
    // The record leaves the list at once; the disk work runs on a worker thread and the rest (groups, reload,
    // notice) follows on the user-interface thread.
    void remove(std::int32_t id, bool alsoGroups);
    void rename(std::int32_t id, const std::wstring& newName);
    // The running instances' top windows, arranged by the manager-wide settings as one background task.
    void arrange(const std::vector<std::int32_t>& ids);
    // Backup into a ".kvbk" archive and restore from one or from a ".vdi" image (KVMultiModelBackup.cpp): the
    // archiver runs on a worker thread; archiveProgress reports each new percent and archiveFinished the end.
    void backup(std::int32_t id, const std::filesystem::path& archive, bool compress);
    void restore(std::int32_t id, const std::filesystem::path& archive);
    // The same with settings of the caller's (the console's options over the manager-wide ones).
    void arrange(const std::vector<std::int32_t>& ids, const arrange::ArrangeSettings& settings);
    // No arrangement is queued or running.
    bool arrangeIdle() const { return !m_arranger || m_arranger->idle(); }

    // The six storage objects: every line's (a line installed later is pointed at its folder through them) and
    // the manager's own (the dialogs that write every settings file at once).
    common::PlayerSet& players() { return m_players; }
    // The storage object of the id's line; `index` receives the instance index.
    common::Players& playersOf(std::int32_t id, int& index);

    // What the model reports; windows subscribe under their owner keys.
    model::ModelEvents& events() { return m_events; }
    // Something outside the model changed the instance lists (an install, a restore): every list shown is
    // rebuilt.
    void reportListChanged() { model::notify(m_events.listChanged, "listChanged"); }
    // Another program (the console) changed instances or groups on disk: every installed line is scanned
    // again with its names read afresh, the groups file is read again, and every list shown is rebuilt.
    void reloadFromDisk();
    void setMainWindow(platform::WindowHandle window) { m_mainWindow = window; }
    model::GroupStore& groups() { return m_groups; }
    // The main window starts these (the status refresh among them); shutdown stops them.
    common::TimerHandle& timer(std::size_t which) { return m_timers.at(which); }

    int commandLineMonitor() const { return m_cmdMonitor; }
    int commandLineProduct() const { return m_cmdProduct; }
    bool isNewUser() const { return m_newUser; }
    bool isOldUser() const { return m_oldUser; }
    bool isAdding() const { return m_adding; }
    std::int32_t copyTarget() const { return m_copyTarget; }
    common::OwnerKey ownerKey() const { return m_ownerKey; }
    // Removals whose disk work still runs.
    bool isRemoving(std::int32_t id) const;

    // Batch settings (BatchSettings.h): the ids chosen for the settings dialog's batch mode, opening their
    // configurations, the dialog's checked rows written into them, and the batch end that saves and tells.
    void setBatchIds(std::vector<std::int32_t> ids) { m_batchSettings.setBatchIds(std::move(ids)); }
    void startSaveSettingMul() { m_batchSettings.startSaveSettingMul(); }
    void applySettingMul(const std::function<bool(std::string_view)>& isChecked, const model::BatchValues& values) {
        m_batchSettings.applyChecked(isChecked, values);
    }
    void endSaveSettingMul() { m_batchSettings.endSaveSettingMul(); }
    // Where the batch end's notice is shown; null while no window shows them.
    void setNotices(model::Notices* notices) { m_batchSettings.setNotices(notices); }

private:
    void readCommandLine(std::wstring_view commandLine);
    void takeMarker(const char* name, bool& marker, const wchar_t* message);
    static std::wstring shownPlayerName(const std::wstring& name);
    void deriveStatus(model::InstanceRecord& record, KV_PRODUCT_TYPE line, common::Players& players,
                      const model::StatusProbe& probe);
    static platform::WindowHandle findTopWindow(const model::InstanceRecord& record, std::int32_t& processId,
                                                const model::StatusProbe& probe);
    void refreshRecord(model::InstanceRecord& record, const model::StatusProbe& probe);
    void fillRecords(std::vector<model::InstanceRecord>& list, const std::vector<int>& indices,
                     const common::Players& players, bool withDiskSizes);
    static void readSettings(model::InstanceRecord& record, int index, const common::ConfigDocument& config);
    model::InstanceRecord* record(std::int32_t id);
    common::CloneProgress progressReceiver(KV_PRODUCT_TYPE line, bool copy);
    void onCloneProgress(KV_PRODUCT_TYPE line, bool copy, int percent, int index);
    // Logs the id and index under `function`; null (logged) for an unknown index other than 0.
    common::Players* openInstance(const char* function, std::int32_t id, int& index);
    bool isBusy(common::Players& players, int index) const;
    void finishRemove(std::int32_t id, bool alsoGroups);
    void postNotice(KV_PRODUCT_TYPE line, std::uint32_t message, std::int32_t id);
    void runArchiveTask(std::int32_t id, bool restore, std::function<bool(const common::files::ArchiveProgress&)> work);
    void finishArchiveTask(std::int32_t id, bool restore, bool ok);

    common::PlayerSet& m_players;
    platform::InstallSources& m_sources;
    platform::InstanceDesktop& m_desktop;
    platform::WindowSystem& m_windows;
    const std::filesystem::path m_programFolder;
    model::ModelEvents m_events;
    platform::WindowHandle m_mainWindow = 0;
    int m_cmdMonitor = 0;
    int m_cmdProduct = 0;
    model::InstallFolders m_folders;
    std::array<std::vector<model::InstanceRecord>, product::kProductCount> m_lists;
    std::array<common::TimerHandle, 2> m_timers;
    bool m_adding = false;
    std::int32_t m_copyTarget = -1;
    model::GroupStore m_groups;
    bool m_newUser = false;
    bool m_oldUser = false;
    int m_lastRunCache = -1;
    model::BatchSettings m_batchSettings{m_players};
    std::vector<std::int32_t> m_removing;
    std::unique_ptr<arrange::WindowArranger> m_arranger; // made on the first arrangement
    // Tasks posted to the user-interface thread hold a weak reference: one that arrives after the model is
    // gone (a clone worker outlives it) does nothing.
    std::shared_ptr<KVMultiModel*> m_self;
    const common::OwnerKey m_ownerKey = common::newOwnerKey();
    common::WorkerTasks m_removals; // destroyed first, waiting for removals that still run
    common::WorkerTasks m_archives; // last: backups and restores that still run are waited for first
};
