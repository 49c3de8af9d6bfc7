#pragma once
// What a new instance is created with (the add dialog fills it; clones ignore it), and the progress
// callback of create and clone.

#include <cstdint>
#include <functional>

#include "core/dispatch/Dispatcher.h"

namespace common {

struct CloneSetting {
    bool hasResolution = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t dpi = 0;
    bool smallDisk = false; // create from the small template data disk
    std::int32_t cpuCount = 0;
    std::int32_t memorySize = 0; // MB
    bool hasVMemUsage = false;
    std::int32_t vMemUsage = 0;
    bool hasFps = false;
    std::int32_t fps = 0;
    bool hasReduceAudio = false;
    bool reduceAudio = false;
};

// (percent, new index): 0 to 99 while disks are copied, then 100 exactly once. Called on a worker thread.
using CloneProgress = std::function<void(int percent, int index)>;

// A progress callback that hands every report to `receiver` on the user-interface thread, posted under
// `owner` (cancelling the owner drops reports still queued).
inline CloneProgress progressOnUiThread(OwnerKey owner, std::function<void(int, int)> receiver) {
    return [owner, receiver = std::move(receiver)](int percent, int index) {
        dispatch::post(owner, new FunctionRunable([receiver, percent, index] { receiver(percent, index); }));
    };
}

} // namespace common
