#pragma once
// Skins name language keys in their text and tooltip attributes ("setting_resolution"); once a window's skin
// is loaded, each is replaced by its text in the current language. A text that is no key ("1080x1920", "x")
// stays as the skin writes it, and so does a key the table lacks.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

class Control;

// Letters, digits and underscores, starting with a letter, at least two characters.
bool isSkinTextKey(std::wstring_view text);

using TextLookup = std::function<std::optional<std::wstring>(std::wstring_view key)>;
// Translates the texts and tooltips of `root` and everything below it.
void translateSkinTexts(Control& root, const TextLookup& lookUp);

} // namespace ui
