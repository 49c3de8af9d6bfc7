#pragma once
// What the IPC sender threads report about an instance's endpoint.

#include <cstdint>
#include <functional>

namespace utility {

enum class EmulatorStatus : std::int32_t {
    ResponseTimeout = 2, // a delivery finished but took 2000 ms or more
    NotResponding = 12,  // a delivery has been waiting 2000 ms or more and still waits
};

using EmulatorStatusCallback = std::function<void(int key, EmulatorStatus status)>;

} // namespace utility
