// Windows' user-interface language of the current user.

#include <windows.h>

#include "core/platform/Language.h"

namespace platform {

std::uint16_t userDefaultUiLanguageId() {
    return GetUserDefaultUILanguage();
}

} // namespace platform
