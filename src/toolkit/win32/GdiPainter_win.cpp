#include "toolkit/win32/GdiPainter_win.h"

#include "toolkit/NineSlice.h"

namespace ui::win32 {

namespace {

// The background of "<s>" runs.
constexpr Argb kSelectionColor = 0xFF2F6FD6;

BLENDFUNCTION blendOf(int alpha) {
    return {AC_SRC_OVER, 0, static_cast<BYTE>(alpha), AC_SRC_ALPHA};
}

} // namespace

GdiPainter::GdiPainter(HDC dc, GdiImages& images, GdiFonts& fonts, double scale)
    : m_dc(dc), m_imageDc(CreateCompatibleDC(dc)), m_images(images), m_fonts(fonts), m_scale(scale) {
    SetBkMode(m_dc, TRANSPARENT);
}

GdiPainter::~GdiPainter() {
    DeleteDC(m_imageDc);
}

void GdiPainter::fillRect(const Rect& rect, Argb color) {
    if (rect.empty() || alphaOf(color) == 0) return;
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    if (alphaOf(color) == 255) {
        HBRUSH brush = CreateSolidBrush(colorRef(color));
        FillRect(m_dc, &r, brush);
        DeleteObject(brush);
        return;
    }
    // A translucent fill: one premultiplied pixel stretched over the rectangle.
    Bitmap pixel{1, 1, {premultiply(redOf(color), greenOf(color), blueOf(color), alphaOf(color))}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 1, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib || !bits) return;
    *static_cast<std::uint32_t*>(bits) = pixel.pixels[0];
    const HGDIOBJ old = SelectObject(m_imageDc, dib);
    AlphaBlend(m_dc, rect.left, rect.top, rect.width(), rect.height(), m_imageDc, 0, 0, 1, 1, blendOf(255));
    SelectObject(m_imageDc, old);
    DeleteObject(dib);
}

void GdiPainter::drawImage(const ImageSpec& image, const Rect& control) {
    Size size;
    HBITMAP bitmap = m_images.get(image.file, size);
    if (!bitmap) return;
    const HGDIOBJ old = SelectObject(m_imageDc, bitmap);
    for (const SlicePart& part : nineSlice(image, size, control, m_scale)) {
        AlphaBlend(m_dc, part.dest.left, part.dest.top, part.dest.width(), part.dest.height(), m_imageDc,
                   part.source.left, part.source.top, part.source.width(), part.source.height(), blendOf(image.fade));
    }
    SelectObject(m_imageDc, old);
}

void GdiPainter::drawText(const Rect& rect, const std::vector<TextRun>& runs, const TextStyle& style) {
    if (rect.empty() || runs.empty()) return;
    const HGDIOBJ oldFont = SelectObject(m_dc, m_fonts.get(style.font, m_scale));
    if (style.multiline) {
        // Wrapped text keeps one colour: the first run's.
        const std::wstring text = plainText(runs);
        const UINT align = style.align == HAlign::Center  ? DT_CENTER
                           : style.align == HAlign::Right ? DT_RIGHT
                                                          : DT_LEFT;
        RECT measure{rect.left, rect.top, rect.right, rect.bottom};
        DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &measure,
                  DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT | align);
        RECT r{rect.left, rect.top, rect.right, rect.bottom};
        if (style.vcenter) r.top += std::max(0, (rect.height() - static_cast<int>(measure.bottom - measure.top)) / 2);
        SetTextColor(m_dc, colorRef(runs.front().color.value_or(style.color)));
        DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK | DT_NOPREFIX | align);
    } else {
        drawLine(rect, runs, style);
    }
    SelectObject(m_dc, oldFont);
}

void GdiPainter::drawLine(const Rect& rect, const std::vector<TextRun>& runs, const TextStyle& style) {
    std::vector<SIZE> sizes(runs.size());
    int total = 0;
    int height = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        GetTextExtentPoint32W(m_dc, runs[i].text.c_str(), static_cast<int>(runs[i].text.size()), &sizes[i]);
        total += sizes[i].cx;
        height = std::max<int>(height, sizes[i].cy);
    }
    int x = rect.left;
    if (style.align == HAlign::Center) x += (rect.width() - total) / 2;
    if (style.align == HAlign::Right) x = rect.right - total;
    const int y = rect.top + (rect.height() - height) / 2;
    const RECT clip{rect.left, rect.top, rect.right, rect.bottom};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const TextRun& run = runs[i];
        if (run.selected) fillRect({x, y, x + sizes[i].cx, y + height}, kSelectionColor);
        SetTextColor(m_dc, colorRef(run.color.value_or(style.color)));
        ExtTextOutW(m_dc, x, y, ETO_CLIPPED, &clip, run.text.c_str(), static_cast<UINT>(run.text.size()), nullptr);
        x += sizes[i].cx;
    }
}

void GdiPainter::pushClip(const Rect& rect) {
    SaveDC(m_dc);
    IntersectClipRect(m_dc, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiPainter::popClip() {
    RestoreDC(m_dc, -1);
}

} // namespace ui::win32
