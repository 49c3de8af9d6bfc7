#include "core/storage/PlayerHost.h"

#include <atomic>

namespace common {
namespace {
std::atomic<PlayerHost*> g_host{nullptr};
} // namespace

void setPlayerHost(PlayerHost* host) {
    g_host.store(host);
}

PlayerHost* playerHost() {
    return g_host.load();
}

} // namespace common
