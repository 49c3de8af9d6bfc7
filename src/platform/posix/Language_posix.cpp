// The native build has no user-interface language of its own: it reports English (United States), and
// compares names ignoring case only.

#include "core/platform/Language.h"

#include <algorithm>
#include <cwctype>

namespace platform {

std::uint16_t userDefaultUiLanguageId() {
    return 0x0409;
}

std::optional<int> compareNamesForDisplay(std::wstring_view a, std::wstring_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = std::towlower(static_cast<std::wint_t>(a[i]));
        const auto y = std::towlower(static_cast<std::wint_t>(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace platform
