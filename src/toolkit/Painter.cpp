#include "toolkit/Painter.h"

namespace ui {

// An average glyph of the skins' 12-point face: 7 pixels wide, 16 high at scale 1.
Size EstimatedTextMetrics::measure(std::wstring_view text, int, double scale) const {
    return {scaled(static_cast<int>(text.size()) * 7, scale), scaled(16, scale)};
}

} // namespace ui
