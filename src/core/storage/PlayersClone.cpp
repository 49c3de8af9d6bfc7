// Create and clone: reserving the index on the caller's thread, copying disks on a worker thread, then
// finalising the configuration. The finalisation always runs and always reports 100; a failed copy is
// logged and leaves a half-made instance that removal takes away. A clone only ever reads its source.

#include <exception>
#include <system_error>

#include "core/files/Directories.h"
#include "core/files/FileUtils.h"
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
};

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

// The smallest non-negative index not in the set, inserted before the lock is let go, so two calls in a row
// never get the same index.
int Players::reserveIndex() {
    std::lock_guard guard(m_indicesLock);
    int next = 0;
    for (int used : m_indices) {
        if (used != next) break;
        ++next;
    }
    m_indices.insert(next);
    return next;
}

int Players::cloneEx(int source, CloneProgress progress, CloneSetting setting) {
    KVLOG(L"start copyEx 6");
    KVLOG(L"start copyEx7 player size %d", static_cast<int>(indices().size()));
    const int target = reserveIndex();
    KVLOG(L"cloneEx fromPlayer %d toPlayer %d", source, target);
    CloneJob job{source, target, setting, std::move(progress), {}};
    if (source != -1) {
        job.name = displayName(source) + L"-" + std::to_wstring(target);
        if (!job.name.empty()) cacheName(target, job.name);
    }
    m_tasks.run([this, job = std::move(job)] {
        try {
            if (job.source == -1)
                createStep(job);
            else
                copyStep(job);
        } catch (const std::exception& e) { // allocation failures: the finalisation still runs
            KVLOG_AS("common::Players::cloneEx", L"copy step failed: %S", e.what());
        }
        finaliseClone(job);
    });
    return target;
}

void Players::createStep(const CloneJob& job) {
    BusyMark mark(m_busy, BusyRegistry::Kind::Creation, job.target);
    const bool vdi = usesVdi();
    const auto dataSource = job.setting.smallDisk ? templateSmallDataPath(vdi) : templateDataPath(vdi);
    std::error_code ec;
    std::filesystem::create_directories(instanceFolder(job.target), ec);
    if (ec) KVLOG_AS("common::Players::cloneEx", L"fs::create_directories failed: %S", ec.message());
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx data add");
    utility::ufile::copyFileByStream(dataSource, dataDiskPath(job.target, vdi), {job.progress, job.target, 0, 0.5f});
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx sdcard add");
    utility::ufile::copyFileByStream(templateDataPath(vdi), sdcardDiskPath(job.target, vdi),
                                     {job.progress, job.target, 50, 0.5f});
}

void Players::copyStep(const CloneJob& job) {
    CopyMark mark(m_busy, job.source, job.target);
    const bool vdi = usesVdi();
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx system add");
    std::error_code ec;
    std::filesystem::create_directories(instanceFolder(job.target), ec);
    if (ec) KVLOG_AS("common::Players::cloneEx", L"fs::create_directories failed: %S", ec.message());
    if (files::fileExists(systemDiskPath(job.source, vdi)))
        utility::ufile::copyFileByStream(systemDiskPath(job.source, vdi), systemDiskPath(job.target, vdi),
                                         {job.progress, job.target, 0, 0.2f});
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx sdcard add");
    utility::ufile::copyFileByStream(sdcardDiskPath(job.source, vdi), sdcardDiskPath(job.target, vdi));
    files::copy_overwrite(configPath(job.source), configPath(job.target));
    KVLOG_AS("common::Players::cloneEx", L"xxxxxxxx data add");
    utility::ufile::copyFileByStream(dataDiskPath(job.source, vdi), dataDiskPath(job.target, vdi),
                                     {job.progress, job.target, 20, 0.8f});
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

void Players::finaliseClone(const CloneJob& job) {
    forgetName(job.target);
    try {
        PlayerConfig config;
        config.load(baseFolder(), job.target); // a new instance gets its first identity here
        ConfigDocument& doc = config.document();
        doc.setString(keys::kPlayerName, job.name);
        if (job.source == -1) applyNewInstanceSettings(doc, job.setting); // a clone keeps its source's identity
        doc.save();
    } catch (const std::exception& e) {
        KVLOG_AS("common::Players::cloneEx", L"finalisation failed: %S", e.what());
    }
    if (job.progress) job.progress(100, job.target);
}

} // namespace common
