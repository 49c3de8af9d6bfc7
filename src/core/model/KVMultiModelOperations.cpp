// The operations the user interface starts on instances: create, clone, start, stop, remove, rename and
// arrange. Each decodes the instance id into the line's storage object and index; the slow parts run on
// worker threads and come back to the user-interface thread under the model's owner key.
//
// Only one create or clone runs at a time: a second one is refused, never queued. The suite's notification
// window hears of added, removed and renamed instances, except of Android 5.1 ones.

#include <algorithm>

#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"
#include "core/model/KVMultiModel.h"

namespace {

const std::wstring kNotificationClass(utility::kNotificationWindowClass);

} // namespace

void KVMultiModel::addPlayer(KV_PRODUCT_TYPE line, common::CloneSetting setting) {
    if (m_adding) {
        KVLOG(L"it is adding. not do");
        return;
    }
    KVLOG(L"start add %d", line);
    if (!isInstalled(line)) {
        KVLOG(L"player not exist!! %d", line);
        return;
    }
    m_adding = true;
    const int index = m_players.line(line).cloneEx(-1, progressReceiver(line, false), setting);
    if (index == -1) { // no folder for it: nothing started, nothing will report
        m_adding = false;
        return;
    }
    const std::int32_t id = product::encodeInstanceId(line, index);
    model::notify(m_events.playerAdded, "playerAdded", line, id);
    postNotice(line, utility::kMsgInstanceAdded, id);
}

void KVMultiModel::copyPlayer(std::int32_t sourceId) {
    if (m_adding) {
        KVLOG(L"it is adding. not do");
        return;
    }
    KVLOG(L"start copy from:%d", sourceId);
    int source = 0;
    common::Players& players = playersOf(sourceId, source);
    const KV_PRODUCT_TYPE line = players.product();
    if (!isInstalled(line)) {
        KVLOG(L"player not exist!! %d", sourceId);
        return;
    }
    m_adding = true;
    const int index = players.cloneEx(source, progressReceiver(line, true), common::CloneSetting{});
    if (index == -1) {
        m_adding = false;
        return;
    }
    m_copyTarget = product::encodeInstanceId(line, index);
    const std::int32_t id = m_copyTarget;
    model::notify(m_events.copyStarted, "copyStarted", line, id, std::wstring());
    postNotice(line, utility::kMsgInstanceAdded, id);
}

// Runs on the storage object's worker thread: only posts.
common::CloneProgress KVMultiModel::progressReceiver(KV_PRODUCT_TYPE line, bool copy) {
    std::weak_ptr<KVMultiModel*> self = m_self;
    return common::progressOnUiThread(ownerKey(), [self, line, copy](int percent, int index) {
        if (const auto alive = self.lock()) (*alive)->onCloneProgress(line, copy, percent, index);
    });
}

void KVMultiModel::onCloneProgress(KV_PRODUCT_TYPE line, bool copy, int percent, int index) {
    const std::int32_t id = product::encodeInstanceId(line, index);
    if (percent != 100) {
        if (copy)
            model::notify(m_events.copyProgress, "copyProgress", id, percent);
        else
            model::notify(m_events.createProgress, "createProgress", id, percent);
        return;
    }
    m_adding = false;
    if (copy) m_copyTarget = -1;
    reloadPlayerList();
    if (copy)
        model::notify(m_events.copyFinished, "copyFinished", id);
    else
        model::notify(m_events.createFinished, "createFinished", line, id);
}

// The opening launch and stop share. Stop logs "launch player" too: that is its fixed text, not a slip.
common::Players* KVMultiModel::openInstance(const char* function, std::int32_t id, int& index) {
    KVLOG_AS(function, L"launch player %d", id);
    common::Players& players = playersOf(id, index);
    KVLOG_AS(function, L"real player %d", index);
    if (index != 0 && !players.hasIndex(index)) {
        KVLOG_AS(function, L"player not exist");
        return nullptr;
    }
    return &players;
}

void KVMultiModel::launch(std::int32_t id, std::wstring_view extraParameters) {
    int index = 0;
    common::Players* found = openInstance("KVMultiModel::launch", id, index);
    if (!found) return;
    common::Players& players = *found;
    std::wstring parameters;
    if (m_windows.monitorCount() > 1)
        parameters = L"monitor=" + std::to_wstring(m_windows.monitorOf(m_mainWindow).handle);
    if (!extraParameters.empty()) parameters += (parameters.empty() ? L"" : L"|") + std::wstring(extraParameters);
    KVLOG(L"run player param %s index:%d", parameters, index);
    players.startPlayer(index, parameters);
    writeLastRun(players.product());
}

void KVMultiModel::stop(std::int32_t id) {
    int index = 0;
    if (common::Players* players = openInstance("KVMultiModel::stop", id, index)) players->stopPlayer(id, index);
}

bool KVMultiModel::isBusy(common::Players& players, int index) const {
    const common::BusyRegistry& busy = players.busy();
    using Kind = common::BusyRegistry::Kind;
    return busy.isCopySource(index) || busy.isCopyTarget(index) || busy.contains(Kind::Creation, index) ||
           busy.contains(Kind::Backup, index) || busy.contains(Kind::Restore, index) || busy.heldElsewhere(index);
}

// The storage removal waits for the VM runtime's tool (up to 10 s) and deletes gigabytes, so it runs on a
// worker thread; the record is out of the list meanwhile and reloads skip the instance until it is gone.
void KVMultiModel::remove(std::int32_t id, bool alsoGroups) {
    if (id < 0) {
        KVLOG(L"remove player, index = %d!!!", id);
        return;
    }
    int index = 0;
    common::Players& players = playersOf(id, index);
    // A clone reads it, a backup or restore has it open, or another program works on it. The shared lock is
    // held until the disk work ends, so that another program does not start on the instance meanwhile.
    std::shared_ptr<platform::SharedLock> lock;
    if (isBusy(players, index) || !(lock = players.busy().tryTakeShared(index))) {
        KVLOG(L"player %d is busy, not removed", id);
        return;
    }
    auto& list = m_lists[static_cast<std::size_t>(players.product())];
    list.erase(std::remove_if(list.begin(), list.end(), [id](const auto& r) { return r.id == id; }), list.end());
    KVLOG(L"remove player %d", id);
    KVLOG(L"real player %d", index);
    m_removing.push_back(id);
    std::weak_ptr<KVMultiModel*> self = m_self;
    const common::OwnerKey owner = ownerKey();
    m_removals.run([self, owner, &players, index, id, alsoGroups, lock] {
        players.remove(index);
        common::dispatch::post(owner, new common::FunctionRunable([self, id, alsoGroups] {
                                   if (const auto alive = self.lock()) (*alive)->finishRemove(id, alsoGroups);
                               }));
    });
}

void KVMultiModel::finishRemove(std::int32_t id, bool alsoGroups) {
    m_removing.erase(std::remove(m_removing.begin(), m_removing.end(), id), m_removing.end());
    const KV_PRODUCT_TYPE line = product::productOfId(id);
    if (alsoGroups) {
        m_groups.removeFromGroups(line, {id});
        reloadPlayerList();
    }
    postNotice(line, utility::kMsgInstanceRemoved, id);
}

void KVMultiModel::rename(std::int32_t id, const std::wstring& newName) {
    if (model::InstanceRecord* r = record(id)) {
        const std::wstring shown = shownPlayerName(newName);
        if (r->name == shown) return;
        r->name = shown;
    }
    KVLOG(L"rename player %d", id);
    int index = 0;
    common::Players& players = playersOf(id, index);
    players.rename(id, index, newName);
    postNotice(players.product(), utility::kMsgInstanceChanged, id);
}

void KVMultiModel::arrange(const std::vector<std::int32_t>& ids) {
    arrange(ids, arrange::readArrangeSettings(m_players.own().settings()));
}

void KVMultiModel::arrange(const std::vector<std::int32_t>& ids, const arrange::ArrangeSettings& settings) {
    std::vector<arrange::ArrangeTarget> targets;
    targets.reserve(ids.size());
    for (std::int32_t id : ids) {
        const model::InstanceRecord* r = findRecord(id);
        targets.push_back({id, r ? r->topWindow : 0});
    }
    if (!m_arranger) m_arranger = std::make_unique<arrange::WindowArranger>(m_windows);
    m_arranger->arrange(targets, m_mainWindow, settings);
}

// The window may be absent (the suite's other program is not running); nothing is posted then.
void KVMultiModel::postNotice(KV_PRODUCT_TYPE line, std::uint32_t message, std::int32_t id) {
    if (line == KV_PRODUCT_51) return;
    (void)m_desktop.postToWindowClass(kNotificationClass, message, static_cast<std::uintptr_t>(id), 0);
}
