#pragma once
// The process-wide objects behind the user interface: the six storage objects, the Windows sources and
// desktop the model asks, and the instance model itself. Created on first use (start-up asks first) and
// kept until the process ends, so worker threads that outlive the windows never find them gone.

#include "core/model/KVMultiModel.h"
#include "core/storage/PlayerSet.h"

namespace app {

KVMultiModel& model();
common::PlayerSet& players();
// The desktop both the model and the storage objects reach instances through.
platform::InstanceDesktop& desktop();

} // namespace app
