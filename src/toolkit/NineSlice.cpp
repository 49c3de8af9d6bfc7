#include "toolkit/NineSlice.h"

#include <algorithm>

namespace ui {

namespace {

// Shrinks two corner widths so they fit into `room` together, keeping their ratio.
void fitPair(int& a, int& b, int room) {
    if (a + b <= room) return;
    if (room <= 0) {
        a = b = 0;
        return;
    }
    const int total = a + b;
    a = a * room / total;
    b = room - a;
}

} // namespace

std::vector<SlicePart> nineSlice(const ImageSpec& spec, Size image, const Rect& control, double scale) {
    const Rect whole{0, 0, image.cx, image.cy};
    const Rect src = spec.source ? spec.source->intersect(whole) : whole;
    const Rect dst = spec.dest ? scaled(*spec.dest, scale).offset(control.left, control.top) : control;
    if (src.empty() || dst.empty()) return {};

    Edges sc = spec.corner;
    fitPair(sc.left, sc.right, src.width());
    fitPair(sc.top, sc.bottom, src.height());
    Edges dc = scaled(sc, scale);
    fitPair(dc.left, dc.right, dst.width());
    fitPair(dc.top, dc.bottom, dst.height());

    const int sx[4] = {src.left, src.left + sc.left, src.right - sc.right, src.right};
    const int sy[4] = {src.top, src.top + sc.top, src.bottom - sc.bottom, src.bottom};
    const int dx[4] = {dst.left, dst.left + dc.left, dst.right - dc.right, dst.right};
    const int dy[4] = {dst.top, dst.top + dc.top, dst.bottom - dc.bottom, dst.bottom};

    std::vector<SlicePart> parts;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            if (spec.hole && row == 1 && col == 1) continue;
            const SlicePart part{{sx[col], sy[row], sx[col + 1], sy[row + 1]},
                                 {dx[col], dy[row], dx[col + 1], dy[row + 1]}};
            if (!part.source.empty() && !part.dest.empty()) parts.push_back(part);
        }
    }
    return parts;
}

} // namespace ui
