// The native build has no user-interface language of its own: it reports English (United States).

#include "core/platform/Language.h"

namespace platform {

std::uint16_t userDefaultUiLanguageId() {
    return 0x0409;
}

} // namespace platform
