#pragma once
// Which texts of a laid-out window do not fit their controls: the check a translation or a skin change must
// pass in every language and at every display scale.
//
// A control's text is drawn inside its rectangle less its text padding: one line clipped at the edges, or,
// for a multiline control, wrapped at spaces and between ideographs. Text drawn fully transparent (image
// buttons keep a text for tooltips and look-ups) and what users type into edits are not checked. Sizes come
// from the metrics given: the Win32 host's real fonts, or the estimate in headless tests.

#include <string>
#include <vector>

#include "toolkit/Painter.h"

namespace ui {

class Control;
class Window;

struct TextOverflow {
    const Control* control = nullptr;
    std::wstring text;
    Size needed;    // the text's extent: the widest line and the height of all lines
    Size available; // the control's text area
};

// The shown controls of `window` (as last laid out) whose text does not fit.
std::vector<TextOverflow> findTextOverflows(const Window& window, const TextMetrics& metrics);

// The extent of `text` wrapped to `width` as a multiline control draws it (a word wider than the width keeps
// its own line and makes the extent wider).
Size wrappedTextSize(std::wstring_view text, int width, int font, double scale, const TextMetrics& metrics);

} // namespace ui
