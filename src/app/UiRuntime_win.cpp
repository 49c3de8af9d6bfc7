#include "app/UiRuntime_win.h"

#include <memory>

#include "core/dispatch/Dispatcher.h"
#include "core/log/Log.h"
#include "platform/win32/dispatch/MessageWindowHost_win.h"

namespace app {
namespace {

struct Runtime {
    platform::win32::MessageWindowHost host;
    common::Dispatcher dispatcher{host};
};
std::unique_ptr<Runtime> g_runtime;

} // namespace

bool installLogAndDispatcher() {
    if (g_runtime) return true; // created once; a second request is ignored
    common::installLogSink();
    g_runtime = std::make_unique<Runtime>();
    if (!g_runtime->host.valid()) {
        g_runtime.reset();
        return false;
    }
    common::dispatch::install(&g_runtime->dispatcher);
    return true;
}

void removeLogAndDispatcher() {
    common::removeLogSink();
    common::dispatch::uninstall();
    g_runtime.reset();
    common::closeLogFile();
}

} // namespace app
