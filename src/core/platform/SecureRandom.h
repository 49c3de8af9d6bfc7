#pragma once
// Cryptographic random bytes from the operating system (BCryptGenRandom on Windows, getrandom natively).

#include <cstdint>

namespace platform {

// Four random bytes; 0 when the system source failed.
std::uint32_t systemRandom32();

// Milliseconds since the system started (the seed's last resort, with the time of day).
std::uint64_t millisecondsSinceStart();

} // namespace platform
