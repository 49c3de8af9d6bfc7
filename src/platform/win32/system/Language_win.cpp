// Windows' user-interface language of the current user, and its comparison of names.

#include <windows.h>

#include "core/platform/Language.h"

namespace platform {

std::uint16_t userDefaultUiLanguageId() {
    return GetUserDefaultUILanguage();
}

std::optional<int> compareNamesForDisplay(std::wstring_view a, std::wstring_view b) {
    const int result =
        CompareStringEx(L"zh-CN", NORM_IGNORECASE | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH, a.data(),
                        static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), nullptr, nullptr, 0);
    if (result == 0) return std::nullopt;
    return result - CSTR_EQUAL;
}

} // namespace platform
