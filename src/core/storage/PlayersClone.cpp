// Create and clone: reserving the index on the caller's thread, copying disks on a worker thread, then
// finalising the configuration.
//
// What is guaranteed about the user's data:
// - a new instance only ever gets a folder that the reservation itself created (exclusively), so it never
//   lands on an existing instance, whatever names lie in "vms"; nothing is written outside that folder but
//   the new instance's own configuration file;
// - "copy_not_finish" lies in the new folder before the first byte is copied and goes only after every copy
//   and the configuration were written: a crash, a kill or a failure at any point leaves an instance that
//   the list shows as a failed copy, never one that looks finished;
// - a failed operation removes the files it wrote (disks, configuration) and keeps the folder with its
//   marker until the user removes it; 100 is reported exactly once in every case and ends the operation;
// - at shutdown a running copy stops at its next chunk and ends as a failed one;
// - a clone only ever reads its source.

#include <exception>
#include <system_error>

#include "core/files/AtomicFile.h"
#include "core/files/Directories.h"
#include "core/files/FileRoutines.h"
#include "core/files/Files.h"
#include "core/log/Log.h"
#include "core/storage/Identity.h"
#include "core/storage/InstanceKeys.h"
#include "core/storage/KVPhoneConfig.h"
#include "core/storage/PlayerConfig.h"
#include "core/storage/Players.h"

namespace common {

struct Players::CloneJob {
    int source;
    int target;
    CloneSetting setting;
    CloneProgress progress;
    std::wstring name;
    bool configWritten = false; // the target's configuration file is this operation's to remove on failure
};

namespace {

constexpr const char* kUnfinishedMarker = "copy_not_finish";
constexpr int kMaxInstanceIndex = 1 << 24; // an instance id keeps the index in its low 24 bits

// Every copy of an operation asks between chunks whether the program is shutting down; a stopped copy fails
// the operation, which then takes its partial files away and keeps the marker.
utility::ufile::CopyProgress copyProgress(const Players& players, CloneProgress callback, int target, int base,
                                          float weight) {
    utility::ufile::CopyProgress progress{std::move(callback), target, base, weight};
    progress.stopRequested = [&players] { return players.stopRequested(); };
    return progress;
}

} // namespace

bool Players::isCopying(int index) const {
    const bool hit = m_busy.isCopySource(index);
    if (hit) KVLOG(L"player %d  is copying", index);
    return hit;
}

bool Players::isBeingCopied(int index) const {
    const bool hit = m_busy.isCopyTarget(index);
    if (hit) KVLOG(L"player %d  is being copied", index);
    return hit;
}

bool Players::isCreating(int index) const {
    const bool hit = m_busy.contains(BusyRegistry::Kind::Creation, index);
    if (hit) KVLOG(L"player %d  is creating", index);
    return hit;
}

bool Players::isBackuping(int index) const {
    const bool hit = m_busy.contains(BusyRegistry::Kind::Backup, index);
    if (hit) KVLOG(L"player %d  is backuping", index);
    return hit;
}

bool Players::isRestoring(int index) const {
    const bool hit = m_busy.contains(BusyRegistry::Kind::Restore, index);
    if (hit) KVLOG(L"player %d  is restoring", index);
    return hit;
}

// The smallest non-negative index that is neither in the set nor has its folder on disk. Folder names the
// scan reads loosely ("vantor07", "vantor-2", "vantor 7") never make an existing folder look free: the folder
// is created here, exclusively, so an index whose "vantorN" exists in any form the file system matches (a
// file, a link, another letter case on Windows) is passed over. The set is changed before the lock is let
// go, so two calls in a row never get the same index.
int Players::reserveIndex() {
    const auto vms = baseFolder() / "vms";
    if (!common::create_directories(vms)) return -1;
    std::lock_guard guard(m_indicesLock);
    for (int next = 0; next < kMaxInstanceIndex; ++next) {
        if (m_indices.count(next) != 0) continue;
        std::error_code ec;
        if (std::filesystem::create_directory(vms / instanceName(next), ec)) {
            m_indices.insert(next);
            return next;
        }
        std::error_code existsError;
        if (!ec || std::filesystem::exists(std::filesystem::symlink_status(vms / instanceName(next), existsError)))
            continue; // the name is taken by something we did not make
        KVLOG_AS("common::Players::cloneEx", L"fs::create_directory failed: %S", ec.message());
        return -1;
    }
    return -1;
}

int Players::cloneEx(int source, CloneProgress progress, CloneSetting setting) {
    KVLOG(L"start copyEx 6");
    KVLOG(L"start copyEx7 player size %d", static_cast<int>(indices().size()));
    const int target = reserveIndex();
    if (target == -1) {
        KVLOG(L"cloneEx fromPlayer %d: no folder for a new instance could be made", source);
        return -1;
    }
    // The marker goes in before anything else, so a crash or a kill from here on leaves a failed instance.
    if (!files::writeFileAtomically(instanceFolder(target) / kUnfinishedMarker, {})) {
        KVLOG(L"cloneEx fromPlayer %d: cannot mark %d as unfinished, nothing copied", source, target);
        std::error_code ec;
        std::filesystem::remove(instanceFolder(target), ec); // still empty: made by the reservation
        removeIndex(target);
        return -1;
    }
    KVLOG(L"cloneEx fromPlayer %d toPlayer %d", source, target);
    CloneJob job{source, target, setting, std::move(progress), {}};
    if (source != -1) {
        job.name = displayName(source) + L"-" + std::to_wstring(target);
        if (!job.name.empty()) cacheName(target, job.name);
    }
    m_tasks.run([this, job = std::move(job)]() mutable {
        bool finished = false;
        try {
            finished = (job.source == -1 ? createStep(job) : copyStep(job)) && finaliseClone(job);
        } catch (const std::exception& e) { // allocation failures end the operation as failed
            KVLOG_AS("common::Players::cloneEx", L"copy step failed: %S", e.what());
        }
        forgetName(job.target);
        if (finished)
            removeMarker(job.target); // a marker that stays only makes a whole instance look failed
        else
            discardPartialCopy(job);
        if (job.progress) job.progress(100, job.target); // ends the operation; the marker tells how
    });
    return target;
}

bool Players::createStep(CloneJob& job) {
    BusyMark mark(m_busy, BusyRegistry::Kind::Creation, job.target);
    const bool vdi = usesVdi();
    const auto dataSource = job.setting.smallDisk ? templateSmallDataPath(vdi) : templateDataPath(vdi);
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx data add");
    if (!utility::ufile::copyFileByStream(dataSource, dataDiskPath(job.target, vdi),
                                          copyProgress(*this, job.progress, job.target, 0, 0.5f)))
        return false;
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx sdcard add");
    return utility::ufile::copyFileByStream(templateDataPath(vdi), sdcardDiskPath(job.target, vdi),
                                            copyProgress(*this, job.progress, job.target, 50, 0.5f));
}

// A source without its own system disk, without an sdcard or without a configuration is copied as it is.
bool Players::copyStep(CloneJob& job) {
    CopyMark mark(m_busy, job.source, job.target);
    const bool vdi = usesVdi();
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx system add");
    if (files::fileExists(systemDiskPath(job.source, vdi)) &&
        !utility::ufile::copyFileByStream(systemDiskPath(job.source, vdi), systemDiskPath(job.target, vdi),
                                          copyProgress(*this, job.progress, job.target, 0, 0.2f)))
        return false;
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx sdcard add");
    if (files::fileExists(sdcardDiskPath(job.source, vdi)) &&
        !utility::ufile::copyFileByStream(sdcardDiskPath(job.source, vdi), sdcardDiskPath(job.target, vdi),
                                          copyProgress(*this, {}, job.target, 0, 0.0f)))
        return false;
    if (files::fileExists(configPath(job.source))) {
        job.configWritten = true;
        if (!files::copy_overwrite(configPath(job.source), configPath(job.target))) return false;
    }
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx data add");
    return utility::ufile::copyFileByStream(dataDiskPath(job.source, vdi), dataDiskPath(job.target, vdi),
                                            copyProgress(*this, job.progress, job.target, 20, 0.8f));
}

void Players::removeMarker(int index) {
    std::error_code ec;
    std::filesystem::remove(instanceFolder(index) / kUnfinishedMarker, ec);
    if (ec) KVLOG_AS("common::Players::cloneEx", L"fs::remove failed: %S", ec.message());
}

// Takes away what this operation wrote, never the folder or its marker: the instance shows as a failed copy
// until the user removes it.
void Players::discardPartialCopy(const CloneJob& job) {
    KVLOG_AS("common::Players::cloneEx", L"player %d was not finished: its partial files are removed", job.target);
    std::vector<std::filesystem::path> written;
    for (bool vdi : {false, true})
        written.insert(written.end(), {dataDiskPath(job.target, vdi), systemDiskPath(job.target, vdi),
                                       sdcardDiskPath(job.target, vdi)});
    if (job.configWritten) written.push_back(configPath(job.target));
    for (const auto& file : written) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        if (ec) KVLOG_AS("common::Players::cloneEx", L"fs::remove failed: %S", ec.message());
    }
}

namespace {

void applyNewInstanceSettings(ConfigDocument& doc, const CloneSetting& s) {
    doc.setBool(keys::kVerticalSync, false);
    const int fsAutoSize = s.smallDisk ? 2 : 1; // instances from the small template get 2
    if (s.hasResolution) {
        doc.setResolution(s.width, s.height);
        doc.setInt(keys::kResolutionDpi, s.dpi);
        doc.setInt(keys::kFsAutoSize, fsAutoSize);
        doc.setInt(keys::kCpuCount, s.cpuCount);
        doc.setInt(keys::kMemorySize, s.memorySize);
        if (s.hasVMemUsage) doc.setInt(keys::kVMemUsage, s.vMemUsage);
        if (s.hasFps) doc.setInt(keys::kFps, s.fps);
        if (s.hasReduceAudio) doc.setBool(keys::kReduceAudio, s.reduceAudio);
    } else {
        doc.setInt(keys::kFsAutoSize, fsAutoSize);
    }
    const PhoneInfo phone = KVPhoneConfig::instance().pick();
    doc.setString(keys::kPhoneImei, identity::imei());
    doc.setString(keys::kPhoneImsi, identity::imsi());
    doc.setString(keys::kPhoneModel, phone.model);
    doc.setString(keys::kPhoneManufacturer, phone.maker);
    doc.setString(keys::kMacAddress, identity::macAddress());
    doc.setString(keys::kPhoneSimSerial, identity::simSerial());
    doc.setString(keys::kPhoneAndroidId, identity::androidId());
}

} // namespace

bool Players::finaliseClone(CloneJob& job) {
    job.configWritten = true;
    PlayerConfig config;
    config.load(baseFolder(), job.target); // a new instance gets its first identity here
    ConfigDocument& doc = config.document();
    doc.setString(keys::kPlayerName, job.name);
    if (job.source == -1) applyNewInstanceSettings(doc, job.setting); // a clone keeps its source's identity
    if (doc.modified() && !doc.save()) {
        KVLOG_AS("common::Players::cloneEx", L"the configuration of player %d was not written", job.target);
        return false;
    }
    return true;
}

} // namespace common
