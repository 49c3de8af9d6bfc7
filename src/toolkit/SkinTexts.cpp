#include "toolkit/SkinTexts.h"

#include <algorithm>
#include <vector>

#include "toolkit/Control.h"

namespace ui {
namespace {

bool isAsciiLetter(wchar_t c) {
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

} // namespace

bool isSkinTextKey(std::wstring_view text) {
    return text.size() >= 2 && isAsciiLetter(text.front()) && std::all_of(text.begin(), text.end(), [](wchar_t c) {
               return isAsciiLetter(c) || (c >= L'0' && c <= L'9') || c == L'_';
           });
}

void translateSkinTexts(Control& root, const TextLookup& lookUp) {
    if (isSkinTextKey(root.text()))
        if (auto text = lookUp(root.text())) root.setText(*text);
    if (isSkinTextKey(root.tooltip()))
        if (auto text = lookUp(root.tooltip())) root.setTooltip(*text);
    std::vector<Control*> children;
    root.children(children);
    for (Control* child : children) translateSkinTexts(*child, lookUp);
}

} // namespace ui
