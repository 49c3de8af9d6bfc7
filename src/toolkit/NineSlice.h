#pragma once
// The 9-slice placement of a skin image: which part of the bitmap goes to which part of the control.
//
// The corner widths (image pixels) are copied unstretched, scaled by the display factor; the edges stretch
// along one axis and the centre along both. When the destination is smaller than its two corners, the
// corners shrink in proportion instead of overlapping. Pure arithmetic, so the painter stays trivial.

#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/ImageSpec.h"

namespace ui {

struct SlicePart {
    Rect source;
    Rect dest;
    bool operator==(const SlicePart&) const = default;
};

// `control` is the control's rectangle in window pixels; the image's `dest` is relative to it, in skin
// pixels. Empty parts are left out; without corners the result is one stretched part.
std::vector<SlicePart> nineSlice(const ImageSpec& spec, Size image, const Rect& control, double scale);

} // namespace ui
