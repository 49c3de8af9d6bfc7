// Random bytes from the kernel (getrandom), natively.

#include <sys/random.h>

#include <chrono>

#include "core/platform/SecureRandom.h"

namespace platform {

std::uint32_t systemRandom32() {
    std::uint32_t value = 0;
    return getrandom(&value, sizeof value, 0) == static_cast<ssize_t>(sizeof value) ? value : 0;
}

std::uint64_t millisecondsSinceStart() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

} // namespace platform
