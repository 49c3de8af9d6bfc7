#include "core/storage/Desktop.h"

#include <atomic>

namespace common {
namespace {

std::atomic<platform::InstanceDesktop*> g_desktop{nullptr};

} // namespace

void setDesktop(platform::InstanceDesktop* desktop) {
    g_desktop.store(desktop);
}

platform::InstanceDesktop* desktop() {
    return g_desktop.load();
}

} // namespace common
