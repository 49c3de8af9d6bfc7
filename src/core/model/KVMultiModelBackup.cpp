// Backup and restore of one instance. The archiver runs for minutes on large disks, so each operation gets a
// worker thread of its own; the instance is marked busy by its storage object meanwhile, which is how the
// status refresh shows it as backing up (5) or restoring (6). Progress comes back as whole percents, each
// new one posted once, so a chatty archiver cannot flood the user-interface thread.

#include <atomic>
#include <memory>

#include "core/log/Log.h"
#include "core/model/KVMultiModel.h"

void KVMultiModel::backup(std::int32_t id, const std::filesystem::path& archive, bool compress) {
    int index = 0;
    common::Players& players = playersOf(id, index);
    KVLOG(L"backup player %d to %s, compress %d", id, archive, compress ? 1 : 0);
    runArchiveTask(id, false, [&players, index, archive, compress](const common::files::ArchiveProgress& progress) {
        return players.backup(index, compress, archive, progress);
    });
}

void KVMultiModel::restore(std::int32_t id, const std::filesystem::path& archive) {
    int index = 0;
    common::Players& players = playersOf(id, index);
    KVLOG(L"restore player %d from %s", id, archive);
    runArchiveTask(id, true, [&players, index, archive](const common::files::ArchiveProgress& progress) {
        const bool restored = players.restore(index, archive, progress);
        if (restored) players.forgetName(index); // the restored configuration may name it otherwise
        return restored;
    });
}

void KVMultiModel::runArchiveTask(std::int32_t id, bool restore,
                                  std::function<bool(const common::files::ArchiveProgress&)> work) {
    std::weak_ptr<KVMultiModel*> self = m_self;
    const common::OwnerKey owner = ownerKey();
    m_archives.run([self, owner, id, restore, work = std::move(work)] {
        auto last = std::make_shared<std::atomic<int>>(-1);
        const auto progress = [self, owner, id, last](double fraction) {
            const int percent = static_cast<int>(fraction * 100.0);
            if (percent < 0 || percent > 100 || last->exchange(percent) == percent) return;
            common::dispatch::post(owner, new common::FunctionRunable([self, id, percent] {
                                       if (const auto alive = self.lock())
                                           model::notify((*alive)->m_events.archiveProgress, "archiveProgress", id,
                                                         percent);
                                   }));
        };
        const bool ok = work(progress);
        common::dispatch::post(owner, new common::FunctionRunable([self, id, restore, ok] {
                                   if (const auto alive = self.lock()) (*alive)->finishArchiveTask(id, restore, ok);
                               }));
    });
}

void KVMultiModel::finishArchiveTask(std::int32_t id, bool restore, bool ok) {
    KVLOG(L"%s of player %d ended: %d", restore ? L"restore" : L"backup", id, ok ? 1 : 0);
    if (restore && ok) reloadPlayerList(); // name, resolution and disk size come from the restored files
    model::notify(m_events.archiveFinished, "archiveFinished", id, restore, ok);
}
