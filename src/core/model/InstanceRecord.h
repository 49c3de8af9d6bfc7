#pragma once
// One instance as the model lists it: what its configuration says, its windows while it runs, and its derived
// status. Records are read and written on the user-interface thread only.

#include <cstdint>
#include <string>

#include "core/platform/InstanceDesktop.h"

namespace model {

// Statuses the model derives; rows add their own (downloading, installing...) above these.
enum InstanceStatus : std::int32_t {
    kStatusStopped = 0,
    kStatusRunning = 1,
    kStatusWindowWithoutMutex = 2, // top and render windows exist, the mutex does not
    kStatusBeingCopied = 3,        // the target of a running clone
    kStatusCreating = 4,
    kStatusBackingUp = 5,
    kStatusRestoring = 6,
    kStatusCopySource = 11, // the source of a running clone
};

struct InstanceRecord {
    std::int32_t id = 0; // the bare index while the record is filled, the instance id afterwards
    std::wstring name;   // commas shown as U+FF0C
    platform::WindowHandle topWindow = 0;
    std::int32_t topProcessId = -1;
    platform::WindowHandle renderWindow = 0;
    platform::WindowHandle subWindow = 0;
    std::int32_t subProcessId = -1;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t dpi = 0;
    std::int32_t unfinishedCopy = 0; // -1 when "copy_not_finish" lies in the instance folder
    std::int32_t status = kStatusStopped;
    bool running = false;
    std::int32_t cpuCount = 0;
    std::int32_t memorySize = 0; // MB
    std::uint64_t diskSize = 0;  // bytes; only when asked for

    // Formatted once per fill: the refresh tests these every second for every instance.
    std::wstring mutexName;
    std::wstring windowClassName;
};

} // namespace model
