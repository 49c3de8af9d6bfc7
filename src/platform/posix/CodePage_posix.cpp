// The native build has no ANSI code page: UTF-8 stands in for it.

#include "core/platform/CodePage.h"
#include "core/text/Utf.h"

namespace platform {

std::string wideToAnsi(std::wstring_view text) {
    return common::text::toUtf8(text);
}
std::wstring ansiToWide(std::string_view text) {
    return common::text::fromUtf8(text);
}

} // namespace platform
