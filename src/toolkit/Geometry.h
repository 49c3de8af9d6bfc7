#pragma once
// Edge widths of the control tree and the display scale applied to its rectangles (points, sizes and
// rectangles are the shared geometry types).
//
// Rectangles are half-open (right and bottom excluded), in the window's client pixels. Skin values are
// written for a scale of 1.0; `scaled` turns them into pixels for the display's factor.

#include <algorithm>
#include <cmath>

#include "core/geometry/Geometry.h"

namespace ui {

using geometry::Point;
using geometry::Rect;
using geometry::Size;

// Widths of the four edges: a container's padding or a control's margin.
struct Edges {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Edges&) const = default;
};

inline Rect shrink(const Rect& r, const Edges& e) {
    Rect out{r.left + e.left, r.top + e.top, r.right - e.right, r.bottom - e.bottom};
    out.right = std::max(out.left, out.right);
    out.bottom = std::max(out.top, out.bottom);
    return out;
}

inline int scaled(int value, double scale) {
    return static_cast<int>(std::lround(value * scale));
}

inline Edges scaled(const Edges& e, double scale) {
    return {scaled(e.left, scale), scaled(e.top, scale), scaled(e.right, scale), scaled(e.bottom, scale)};
}

inline Rect scaled(const Rect& r, double scale) {
    return {scaled(r.left, scale), scaled(r.top, scale), scaled(r.right, scale), scaled(r.bottom, scale)};
}

} // namespace ui
