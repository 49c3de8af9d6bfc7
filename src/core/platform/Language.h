#pragma once
// The operating system's user-interface language, as a Windows language identifier (primary language in the
// low 10 bits, sub-language above). Windows asks the system; the native build answers English (United
// States), 0x0409, and tests pass their own identifiers to the language code functions instead.

#include <cstdint>

namespace platform {

std::uint16_t userDefaultUiLanguageId();

} // namespace platform
