#pragma once
// The desktop the storage objects start, stop and notify instances through. The Windows build installs the
// real one at start-up (the same object the model uses); tests install a fake. Without one every request is
// skipped and logged, so storage works (and is testable) without a desktop.

#include "core/platform/InstanceDesktop.h"

namespace common {

// Not owned; must outlive every storage operation that may use it.
void setDesktop(platform::InstanceDesktop* desktop);
platform::InstanceDesktop* desktop();

} // namespace common
