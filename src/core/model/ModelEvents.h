#pragma once
// What the model reports, as events any window subscribes to under its dispatcher owner key: the main
// window first (it subscribes as it starts), then dialogs and group frames as they open. All of them are
// emitted on the user-interface thread. An event nobody listens to is logged and goes on, so a report that
// arrives before any window has subscribed cannot bring the program down.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/dispatch/Event.h"
#include "core/log/Log.h"
#include "core/platform/InstanceDesktop.h"
#include "core/product/ProductLine.h"

namespace model {

struct ModelEvents {
    // (id, running, top window): the periodic refresh saw an instance start or stop.
    common::Event<std::int32_t, bool, platform::WindowHandle> playerStateChanged;
    // (line, id): a create was accepted; the new instance is listed from the next reload on.
    common::Event<KV_PRODUCT_TYPE, std::int32_t> playerAdded;
    // (line, id, name): a clone was accepted.
    common::Event<KV_PRODUCT_TYPE, std::int32_t, const std::wstring&> copyStarted;
    common::Event<KV_PRODUCT_TYPE, std::int32_t> createFinished;
    common::Event<std::int32_t, int> createProgress; // (id, percent)
    common::Event<std::int32_t> copyFinished;
    common::Event<std::int32_t, int> copyProgress; // (id, percent)
    // The settings of an instance were saved: its record shows the new resolution, processors and memory.
    common::Event<std::int32_t> settingsChanged;
    // (id, percent): a backup or restore of the instance moved on.
    common::Event<std::int32_t, int> archiveProgress;
    // (id, restore, ok): a backup (restore false) or a restore ended; a failed restore left the instance as it
    // was, a failed backup left no archive and an older one at that path unchanged.
    common::Event<std::int32_t, bool, bool> archiveFinished;
    // The instance lists were changed by something other than the reports above (an installed product
    // line, a restored instance): every list shown is rebuilt.
    common::Event<> listChanged;
};

// Emits `event`; when nobody listens, logs which one was missed.
template <class Event, class... Args>
void notify(const Event& event, const char* eventName, Args&&... args) {
    if (!event.emit(std::forward<Args>(args)...))
        KVLOG_AS("KVMultiModel::notify", L"no receiver for %S", std::string_view(eventName));
}

} // namespace model
