#pragma once
// The storage object of one product line: where its instances live on disk, which instances exist, their
// names, and the line's shared settings. Six exist for the life of the program: one per product line and
// one for the program's own folder (the manager-wide settings; no instances shown).
//
// Layout below the base folder (the install folder, or the program's folder when there is none):
//   vms\vantorN\                 instance folder: an instance exists exactly when it exists
//   vms\vantorN\{data,system,sdcard}.{vmdk|vdi}
//   vms\config\vantorN.config    instance configuration
//   vms\config\vantors.config    line settings
//   {system,data,data-3G}.{vmdk|vdi}  the line's template disks
// Index -1 names no instance: every path of it is empty.
//
// The index set and the name cache are read and written from several threads (scan, clone workers, the
// user-interface thread); both are guarded here.
//
// Storage operations (PlayersClone.cpp, PlayersBackup.cpp) never destroy data they were not asked to touch:
// a new instance only gets a folder it created itself, and looks finished only once it is; a clone only
// reads its source; a restore replaces the instance's files all together or not at all; a backup replaces
// an existing archive only with a complete one. What each guarantees is written atop its file.

#include <atomic>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/files/Archiver.h"
#include "core/platform/IpcPlatform.h"
#include "core/product/ProductLine.h"
#include "core/storage/BusyRegistry.h"
#include "core/storage/CloneSetting.h"
#include "core/storage/ConfigDocument.h"
#include "core/storage/GlobalSettings.h"
#include "core/storage/WorkerTasks.h"

namespace common {

// The product's display name that derived instance names start with: read once per process from the
// language table ("multis_product_name"), or from a source a test installs; "KVPlayer" when neither has it.
void setProductNameSource(std::function<std::wstring()> source);
std::wstring productDisplayName();

// The text without its line breaks: every line feed, and a carriage return directly before one.
std::wstring withoutLineBreaks(std::wstring_view text);

class Players {
public:
    explicit Players(KV_PRODUCT_TYPE product);
    Players(const Players&) = delete;
    Players& operator=(const Players&) = delete;

    // Storage initialisation: nothing when the folder is the current one; otherwise store it, load the line
    // settings and rescan the instances.
    void init(const std::filesystem::path& installFolder);
    void setNamePatterns(std::wstring mutexPattern, std::wstring windowClassPattern);

    KV_PRODUCT_TYPE product() const { return m_product; }
    bool usesVdi() const { return product::usesVdi(m_product); }
    const std::filesystem::path& installFolder() const { return m_installFolder; }
    std::filesystem::path baseFolder() const;
    GlobalSettings& settings() { return m_settings; }
    const GlobalSettings& settings() const { return m_settings; }

    static std::wstring instanceName(int index);      // "vantor" + index; empty for -1
    static int indexFromName(std::wstring_view name); // -1 unless "vantor" + a whole number
    std::wstring mutexName(int index) const;
    std::wstring windowClassName(int index) const;

    std::filesystem::path instanceFolder(int index) const;
    std::filesystem::path configPath(int index) const; // creates vms\config when missing
    std::filesystem::path dataDiskPath(int index, bool vdi) const;
    std::filesystem::path systemDiskPath(int index, bool vdi) const;
    std::filesystem::path sdcardDiskPath(int index, bool vdi) const;
    std::filesystem::path templateSystemPath(bool vdi) const;
    std::filesystem::path templateDataPath(bool vdi) const;
    std::filesystem::path templateSmallDataPath(bool vdi) const;

    // The line's emulator: base folder + "rqplayer.exe".
    std::filesystem::path playerExecutable() const;

    // Instance processes, through the installed desktop (PlayersProcess.cpp).
    // Starts the emulator with "index=N|extra" as the desktop user, falling back to a shell start. Index -1
    // only logs. The instance reports its state over IPC; nothing is returned.
    void startPlayer(int index, std::wstring_view extraParameters) const;
    // The instance's main window ("KVPlayerMainFrame" of the process that owns its endpoint); null when none.
    platform::WindowHandle findPlayerWindow(int index) const;
    // Asks a running instance to close (IPC message 9222); true in every case, nothing sent when none runs.
    bool stopPlayer(std::int32_t id, int index) const;
    // Whether the instance's mutex exists, that is whether it runs.
    bool isPlayerRunning(int index) const;

    // Rescans vms\ and replaces the index set.
    void loadConfig();
    std::vector<int> indices() const;
    bool hasIndex(int index) const;
    void addIndex(int index);
    void removeIndex(int index);

    // "statusSettings.playerName" without line breaks, or the derived name when that is empty.
    std::wstring displayName(int index) const;
    // The same, answered from the name cache when the index is in it.
    std::wstring displayNameCached(int index) const;
    // The same from a configuration the caller has read already: one read of the file serves the name and
    // the settings of a list row.
    std::wstring displayNameCached(int index, const ConfigDocument& config) const;
    void cacheName(int index, std::wstring name);
    void forgetName(int index);
    void forgetNames(); // another program renamed instances

    // Create (source -1) or clone: reserves the smallest free index (its folder made, holding
    // "copy_not_finish") and returns it at once; the disks are copied on a worker thread, then the
    // configuration is finalised and the marker removed. `progress` gets 100 exactly once in every case; an
    // operation that failed leaves its marker, so the instance shows as a failed copy. -1 (and no progress)
    // when no folder could be made. A clone never writes to its source.
    int cloneEx(int source, CloneProgress progress, CloneSetting setting);
    // The smallest non-negative index neither known nor present in any form in "vms", reserved by creating
    // its folder; -1 when no folder could be made.
    int reserveIndex();
    // Waits until every worker task of this object has ended (tests).
    void waitForTasks() { m_tasks.waitAll(); }
    // Shutdown: refuses new tasks, asks running ones to end early and joins them all.
    void stopTasks() { m_tasks.stopAndWait(); }
    bool stopRequested() const { return m_tasks.stopRequested(); }

    // Backup into a ".kvbk" archive and restore from one or from a ".vdi" disk image; both block the calling
    // worker thread for the archiver's run and mark the instance busy meanwhile. A restore is refused for an
    // instance that runs or is busy, and is all or nothing: true when the instance is now wholly the restored
    // one, false when it is wholly as it was. A backup is true when the archive now holds the instance.
    // `progress` hears the archiver's fraction done, on the calling thread.
    [[nodiscard]] bool backup(int index, bool compress, const std::filesystem::path& archive,
                              const files::ArchiveProgress& progress = {});
    [[nodiscard]] bool restore(int index, const std::filesystem::path& archive,
                               const files::ArchiveProgress& progress = {});

    // Unregisters the instance's virtual machine from the VM runtime (through the installed desktop,
    // waiting up to 10 s), then deletes its folder and configuration and drops the index. Failures are
    // logged and the following steps run anyway. The caller makes sure the instance is neither running nor
    // busy.
    void remove(int index);
    // Stores the name, without line breaks, in the configuration when it differs (an equal name writes
    // nothing) and, in either case, sends it to a running instance as data message 14000 for `key`.
    void rename(std::int32_t key, int index, std::wstring newName);

    // The busy registry's queries; each logs a hit.
    bool isCopying(int index) const;     // the index is the source of a running copy
    bool isBeingCopied(int index) const; // the index is the target of a running copy
    bool isCreating(int index) const;
    bool isBackuping(int index) const;
    bool isRestoring(int index) const;
    BusyRegistry& busy() { return m_busy; }
    const BusyRegistry& busy() const { return m_busy; }
    // The name of the index's shared lock: the same for every process that works on this base folder.
    std::wstring sharedLockName(int index) const;

    // The instance's resolution, falling back to the index's default for a missing or zero value; its DPI,
    // or 240 when absent.
    Resolution resolution(int index) const;
    int dpi(int index) const;

private:
    struct CloneJob;
    std::filesystem::path diskPath(int index, const char* stem, bool vdi) const;
    std::filesystem::path belowBase(std::initializer_list<std::filesystem::path::string_type> parts) const;
    static std::wstring derivedName(int index);
    [[nodiscard]] bool createStep(CloneJob& job);
    [[nodiscard]] bool copyStep(CloneJob& job);
    [[nodiscard]] bool finaliseClone(CloneJob& job);
    void removeMarker(int index);
    void discardPartialCopy(const CloneJob& job);
    bool restoreFromArchive(int index, const std::filesystem::path& archive, const files::ArchiveProgress& progress);
    bool replaceFromFolder(int index, const std::filesystem::path& unpacked);
    // The record a restore's swap keeps while it runs, so that the next restore can undo or finish it.
    std::filesystem::path swapJournal(int index) const { return instanceFolder(index) / "restore.swap"; }

    const KV_PRODUCT_TYPE m_product;
    std::filesystem::path m_installFolder;
    bool m_initialised = false;
    mutable std::atomic<bool> m_configFolderReady{false};
    std::wstring m_mutexPattern;
    std::wstring m_windowClassPattern;
    GlobalSettings m_settings;

    mutable std::mutex m_indicesLock;
    std::set<int> m_indices;
    mutable std::mutex m_namesLock;
    std::map<int, std::wstring> m_nameCache;
    BusyRegistry m_busy;
    WorkerTasks m_tasks; // last: destroyed first, waiting for tasks that still use the members above
};

} // namespace common
