// Removing an instance from disk and renaming it. Deletion logs what it could not delete and goes on: the
// index leaves the set even when files remain (the next scan finds the instance again when its folder
// survived), so a half-removed instance is never hidden for good.

#include <system_error>

#include "core/files/FileTree.h"
#include "core/files/Leftovers.h"
#include "core/ipc/IpcMessages.h"
#include "core/log/Log.h"
#include "core/storage/Desktop.h"
#include "core/storage/InstanceKeys.h"
#include "core/storage/PlayerConfig.h"
#include "core/storage/Players.h"
#include "core/storage/VmRuntime.h"

namespace common {

std::wstring withoutLineBreaks(std::wstring_view text) {
    std::wstring clean;
    clean.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n') continue;
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') continue;
        clean.push_back(text[i]);
    }
    return clean;
}

void Players::remove(int index) {
    if (index < 0) {
        KVLOG_AS("common::Players::remove", L"no instance to remove: %d", index);
        return;
    }
    const std::wstring uuid = vmUuid(index);
    if (platform::InstanceDesktop* host = desktop()) {
        host->execute((vmRuntimeFolder() / L"VBoxManage.exe").wstring(), L"unregistervm " + uuid);
    } else {
        KVLOG_AS("common::Players::remove", L"no host to unregister %s", uuid);
    }

    // Our own walk: a link inside the folder is removed itself, never what it points to.
    std::error_code ec = files::removeTree(instanceFolder(index));
    if (ec) KVLOG_AS("common::Players::remove", L"fs::remove_all failed: %S", ec.message());
    ec = files::removeEntryOnly(configPath(index));
    if (ec) KVLOG_AS("common::Players::remove", L"fs::remove failed: %S", ec.message());
    files::removeLeftoversOf(configPath(index));

    removeIndex(index);
    forgetName(index);
}

void Players::rename(std::int32_t key, int index, std::wstring newName) {
    newName = withoutLineBreaks(newName);
    if (index == -1) return;

    PlayerConfig config;
    config.load(baseFolder(), index);
    ConfigDocument& doc = config.document();
    if (doc.getString(keys::kPlayerName) != newName) {
        doc.setString(keys::kPlayerName, newName);
        if (!doc.save()) KVLOG_AS("common::Players::rename", L"name of player %d not stored", index);
    }
    cacheName(index, newName.empty() ? derivedName(index) : newName);

    // A running instance shows its name in its own title: tell it even when the file kept the name. One that
    // does not run has no endpoint, and reads the name from its file when it starts.
    if (platform::InstanceDesktop* host = desktop())
        (void)host->postData(windowClassName(index), key, utility::kMsgRename, newName);
}

} // namespace common
