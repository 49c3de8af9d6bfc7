#pragma once
// The operating system's user-interface language, as a Windows language identifier (primary language in the
// low 10 bits, sub-language above). Windows asks the system; the native build answers English (United
// States), 0x0409, and tests pass their own identifiers to the language code functions instead.

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

std::uint16_t userDefaultUiLanguageId();

// How two names order for people, the way lists of names are sorted: the system's comparison for the
// locale "zh-CN" with case, kana type and character width ignored. Negative, zero or positive; nothing when
// the system cannot compare them (the caller falls back to code-unit order). The native build ignores case
// only.
std::optional<int> compareNamesForDisplay(std::wstring_view a, std::wstring_view b);

} // namespace platform
