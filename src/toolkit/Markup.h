#pragma once
// Inline markup of label and edit texts, parsed into runs of equal style:
//   "<c ffdd00>text</c>"  colour (also "<c #FFFFFF>"), "<s>text</s>"  selected look (highlighted background).
// Tags nest. A '<' that starts no known tag is ordinary text, a closing tag with nothing open is dropped, and
// an unclosed tag styles the text to the end: any string gives runs, never an error.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Color.h"

namespace ui {

struct TextRun {
    std::wstring text;
    std::optional<Argb> color; // the control's text colour when empty
    bool selected = false;
    bool operator==(const TextRun&) const = default;
};

std::vector<TextRun> parseMarkup(std::wstring_view text);
// The text without its tags.
std::wstring plainText(const std::vector<TextRun>& runs);

} // namespace ui
