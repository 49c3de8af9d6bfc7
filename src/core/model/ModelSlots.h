#pragma once
// The callbacks through which the model tells the main window what changed. The main window sets them when
// it starts; all of them are called on the user-interface thread. The model never calls an empty one: it
// logs the miss and goes on, so a window that has not registered yet cannot bring the program down.

#include <cstdint>
#include <functional>
#include <string>

#include "core/log/Log.h"
#include "core/platform/InstanceDesktop.h"
#include "core/product/ProductLine.h"

namespace model {

struct ModelSlots {
    // (id, running, top window): the periodic refresh saw an instance start or stop.
    std::function<void(std::int32_t, bool, platform::WindowHandle)> playerStateChanged;
    // (line, id): a create was accepted; the new instance is listed from the next reload on.
    std::function<void(KV_PRODUCT_TYPE, std::int32_t)> playerAdded;
    // (line, id, name): a clone was accepted.
    std::function<void(KV_PRODUCT_TYPE, std::int32_t, const std::wstring&)> copyStarted;
    std::function<void(KV_PRODUCT_TYPE, std::int32_t)> createFinished;
    std::function<void(std::int32_t, int)> createProgress; // (id, percent)
    std::function<void(std::int32_t)> copyFinished;
    std::function<void(std::int32_t, int)> copyProgress; // (id, percent)
    // The three below are the main window's own: it installs them for the dialogs that report through it
    // (the list rebuilt after an install, the backup/restore window's runs); the model does not call them.
    std::function<void()> listChanged;
    std::function<void(std::int32_t)> backupFinished;
    std::function<void(std::int32_t)> restoreFinished;
};

// Calls `slot` when it is set; otherwise logs which one was missing.
template <class Slot, class... Args>
void notify(const Slot& slot, const char* slotName, Args&&... args) {
    if (!slot) {
        KVLOG_AS("KVMultiModel::notify", L"no receiver for %S", std::string_view(slotName));
        return;
    }
    slot(std::forward<Args>(args)...);
}

} // namespace model
