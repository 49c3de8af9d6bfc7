// The instance lists: rebuilding them from the storage objects with each record's derived status, and the
// one-second refresh that notices instances starting and stopping.
//
// The refresh runs on the user-interface thread for up to a thousand instances, so per instance it makes only
// the calls it cannot avoid: the mutex test, the window search when the mutex is absent, and for a running
// instance a check that its known top window still belongs to the same process. Names are formatted when the
// record is filled, never per tick, and the top-level windows are walked only when an instance's top window
// changed.

#include <algorithm>

#include "core/log/Log.h"
#include "core/model/KVMultiModel.h"

namespace {

const std::wstring kRenderClass(platform::kRenderWindowClass);
const std::wstring kRenderTitle(platform::kRenderWindowTitle);
const std::wstring kSubClass(platform::kSubWindowClass);
const std::wstring kSubTitle(platform::kSubWindowTitle);

} // namespace

void KVMultiModel::reloadPlayerList(bool withDiskSizes) {
    const model::StatusProbe probe(m_desktop);
    for (int l = 0; l < product::kProductCount; ++l) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(l);
        auto& list = m_lists[static_cast<std::size_t>(l)];
        list.clear();
        common::Players& players = m_players.line(line);
        if (m_players.installed(line)) {
            std::vector<int> shown;
            for (int index : players.indices())
                if (!isRemoving(product::encodeInstanceId(line, index))) shown.push_back(index); // else going away
            fillRecords(list, shown, players, withDiskSizes);
            for (auto& record : list) {
                std::int32_t processId = -1;
                record.topWindow = findTopWindow(record, processId, probe);
                deriveStatus(record, line, players, probe);
            }
        }
        const int size = static_cast<int>(list.size());
        if (line == KV_PRODUCT_71_32) KVLOG(L"32 player size is %d", size);
        if (line == KV_PRODUCT_71_64) KVLOG(L"64 player size is %d", size);
        if (line == KV_PRODUCT_51) KVLOG(L"3 player size is %d", size);
    }
}

// Busy states first (a clone's target, then its source, then create, backup, restore); a held mutex, or
// the instance's windows, override them: an instance that runs shows as running even during a backup.
void KVMultiModel::deriveStatus(model::InstanceRecord& record, KV_PRODUCT_TYPE line, common::Players& players,
                                const model::StatusProbe& probe) {
    const int index = record.id;
    const common::BusyRegistry& busy = players.busy();
    std::int32_t status = record.status;
    if (busy.isCopyTarget(index)) {
        KVLOG_AS("common::Players::isCopying", L"player %d  is copying", index);
        status = model::kStatusBeingCopied;
    }
    if (busy.isCopySource(index)) {
        KVLOG_AS("common::Players::isBeingCopied", L"player %d  is being copied", index);
        status = model::kStatusCopySource;
    } else if (players.isCreating(index)) {
        status = model::kStatusCreating;
    } else if (players.isBackuping(index)) {
        status = model::kStatusBackingUp;
    } else if (players.isRestoring(index)) {
        status = model::kStatusRestoring;
    }
    const std::int32_t id = product::encodeInstanceId(line, index);
    const bool mutex = probe.mutexExists(record.mutexName);
    if (mutex) status = model::kStatusRunning;
    if (record.topWindow != 0) {
        record.topProcessId = probe.windowProcessId(record.topWindow);
        record.renderWindow = m_desktop.findChild(record.topWindow, kRenderClass, kRenderTitle);
        if (record.renderWindow != 0) {
            record.subWindow = m_desktop.findChild(record.renderWindow, kSubClass, kSubTitle);
            record.subProcessId = record.subWindow != 0 ? m_desktop.windowProcessId(record.subWindow) : -1;
            if (status != model::kStatusRunning)
                status = mutex ? model::kStatusRunning : model::kStatusWindowWithoutMutex;
        }
    }
    record.status = status;
    record.id = id;
}

// The top window of a running instance: the "KVPlayerMainFrame" window of the process that owns the
// instance's IPC window.
platform::WindowHandle KVMultiModel::findTopWindow(const model::InstanceRecord& record, std::int32_t& processId,
                                                   const model::StatusProbe& probe) {
    processId = -1;
    const platform::WindowHandle endpoint = probe.findWindow(record.windowClassName);
    if (endpoint == 0) return 0;
    const std::int32_t owner = probe.windowProcessId(endpoint);
    if (owner <= 0) return 0;
    const platform::WindowHandle top = probe.mainFrameOfProcess(owner);
    if (top != 0) processId = owner;
    return top;
}

void KVMultiModel::refreshPlayerStatus() {
    // One view of the desktop for the whole pass. By position: a slot may rebuild the lists (with a view of
    // its own); the loop then goes on over the new records with this pass's view.
    const model::StatusProbe probe(m_desktop);
    for (auto& list : m_lists)
        for (std::size_t i = 0; i < list.size(); ++i) refreshRecord(list[i], probe);
}

void KVMultiModel::refreshRecord(model::InstanceRecord& record, const model::StatusProbe& probe) {
    const bool running = probe.mutexExists(record.mutexName) || probe.findWindow(record.windowClassName) != 0;
    if (running) {
        record.running = true;
        // A window keeps its process for life, so a top window still owned by the same process is still the
        // instance's; only a new or restarted instance costs the walk over the top-level windows.
        const bool known = record.topWindow != 0 && record.topProcessId > 0 &&
                           probe.windowProcessId(record.topWindow) == record.topProcessId;
        if (!known) record.topWindow = findTopWindow(record, record.topProcessId, probe);
        if (record.status != model::kStatusStopped) return;
        record.status = model::kStatusRunning;
        model::notify(m_events.playerStateChanged, "playerStateChanged", record.id, true, record.topWindow);
        return;
    }
    record.running = false;
    record.topWindow = 0;
    if (record.status != model::kStatusRunning && record.status != model::kStatusWindowWithoutMutex) return;
    record.status = model::kStatusStopped;
    model::notify(m_events.playerStateChanged, "playerStateChanged", record.id, false, platform::WindowHandle{0});
}

bool KVMultiModel::anyPlayerWindowOpen() {
    const model::StatusProbe probe(m_desktop);
    for (const auto& list : m_lists)
        for (const auto& record : list)
            if (probe.findWindow(record.windowClassName) != 0) return true;
    return false;
}

model::InstanceRecord* KVMultiModel::record(std::int32_t id) {
    auto& list = m_lists[static_cast<std::size_t>(product::productOfId(id))];
    const auto it = std::find_if(list.begin(), list.end(), [id](const auto& r) { return r.id == id; });
    return it == list.end() ? nullptr : &*it;
}

const model::InstanceRecord* KVMultiModel::findRecord(std::int32_t id) const {
    return const_cast<KVMultiModel*>(this)->record(id);
}

bool KVMultiModel::isRemoving(std::int32_t id) const {
    return std::find(m_removing.begin(), m_removing.end(), id) != m_removing.end();
}

void KVMultiModel::reloadFromDisk() {
    KVLOG(L"reload from disk");
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        if (!isInstalled(line)) continue;
        m_players.line(line).loadConfig();
        m_players.line(line).forgetNames();
    }
    m_groups.load();
    reportListChanged();
}
