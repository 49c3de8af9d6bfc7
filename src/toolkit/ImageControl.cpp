#include "toolkit/ImageControl.h"

namespace ui {

bool RQImageControl::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"image") {
        m_image = parseImageSpec(value);
    } else if (name == L"scale") {
        m_fit = value == L"fit";
    } else {
        return Control::setAttribute(name, value);
    }
    return true;
}

void RQImageControl::setImageFile(std::wstring_view file) {
    m_image = parseImageSpec(file);
}

Rect RQImageControl::placement(Size picture) const {
    if (!m_fit || picture.cx <= 0 || picture.cy <= 0) return m_rect;
    const long long w = m_rect.width();
    const long long h = m_rect.height();
    // Fit the wider side: compare the aspect ratios without division.
    long long outW = w;
    long long outH = h;
    if (w * picture.cy > h * picture.cx)
        outW = h * picture.cx / picture.cy;
    else
        outH = w * picture.cy / picture.cx;
    const int left = m_rect.left + static_cast<int>((w - outW) / 2);
    const int top = m_rect.top + static_cast<int>((h - outH) / 2);
    return {left, top, left + static_cast<int>(outW), top + static_cast<int>(outH)};
}

void RQImageControl::paint(Painter& painter) const {
    Control::paint(painter);
    if (!m_image.empty()) painter.drawImage(m_image, placement(m_pictureSize));
}

} // namespace ui
