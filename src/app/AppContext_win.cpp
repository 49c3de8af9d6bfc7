#include "app/AppContext_win.h"

#include "core/platform/Os.h"
#include "platform/win32/arrange/WindowSystem_win.h"
#include "platform/win32/model/InstallSources_win.h"
#include "platform/win32/model/InstanceDesktop_win.h"

namespace app {
namespace {

struct Context {
    common::PlayerSet players;
    platform::win32::Win32InstallSources sources{platform::programFolder()};
    platform::win32::Win32InstanceDesktop desktop;
    platform::win32::Win32WindowSystem windows{platform::programFolder()};
    KVMultiModel model{players, sources, desktop, windows};
};

Context& context() {
    static Context* const instance = new Context; // never destroyed: workers may still hold on at exit
    return *instance;
}

} // namespace

KVMultiModel& model() {
    return context().model;
}

common::PlayerSet& players() {
    return context().players;
}

platform::InstanceDesktop& desktop() {
    return context().desktop;
}

} // namespace app
