#include "toolkit/Color.h"

namespace ui {

std::optional<Argb> parseColor(std::wstring_view text) {
    if (text.starts_with(L'#'))
        text.remove_prefix(1);
    else if (text.starts_with(L"0x") || text.starts_with(L"0X"))
        text.remove_prefix(2);
    if (text.size() != 6 && text.size() != 8) return std::nullopt;
    Argb value = 0;
    for (const wchar_t c : text) {
        int digit = 0;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return std::nullopt;
        value = (value << 4) | static_cast<Argb>(digit);
    }
    if (text.size() == 6) value |= 0xFF000000u;
    return value;
}

} // namespace ui
