// Random bytes from the system's preferred generator. bcrypt.dll is in every supported Windows and in Wine.

#include <windows.h>

#include <bcrypt.h>

#include "core/platform/SecureRandom.h"

namespace platform {

std::uint32_t systemRandom32() {
    std::uint32_t value = 0;
    const NTSTATUS status =
        BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&value), sizeof value, BCRYPT_USE_SYSTEM_PREFERRED_RNG);
    return status == 0 ? value : 0;
}

std::uint64_t millisecondsSinceStart() {
    return GetTickCount64();
}

} // namespace platform
