// Temporary: the storage side of remove and rename until the real one lands from main (then this file goes).
// Deletes the folder and configuration and stores the name, without the VM runtime or the IPC message.

#include <system_error>

#include "core/storage/InstanceKeys.h"
#include "core/storage/Players.h"

namespace common {

void Players::remove(int index) {
    std::error_code ec;
    std::filesystem::remove_all(instanceFolder(index), ec);
    std::filesystem::remove(configPath(index), ec);
    removeIndex(index);
}

void Players::rename(std::int32_t, int index, std::wstring newName) {
    ConfigDocument doc;
    doc.load(configPath(index));
    if (doc.getString(keys::kPlayerName) == newName) return;
    doc.setString(keys::kPlayerName, newName);
    (void)doc.save();
}

} // namespace common
