#pragma once
// The Painter over a GDI device context: solid and translucent fills, skin images placed by the 9-slice
// arithmetic and drawn with AlphaBlend, markup runs drawn with DrawText/ExtTextOut in the window's fonts.

#include <windows.h>

#include "toolkit/Painter.h"
#include "toolkit/win32/GdiResources_win.h"

namespace ui::win32 {

class GdiPainter final : public Painter {
public:
    GdiPainter(HDC dc, GdiImages& images, GdiFonts& fonts, double scale);
    ~GdiPainter() override;
    GdiPainter(const GdiPainter&) = delete;
    GdiPainter& operator=(const GdiPainter&) = delete;

    void fillRect(const Rect& rect, Argb color) override;
    void drawImage(const ImageSpec& image, const Rect& control) override;
    void drawText(const Rect& rect, const std::vector<TextRun>& runs, const TextStyle& style) override;
    void pushClip(const Rect& rect) override;
    void popClip() override;

private:
    void drawLine(const Rect& rect, const std::vector<TextRun>& runs, const TextStyle& style);

    HDC m_dc;
    HDC m_imageDc;
    GdiImages& m_images;
    GdiFonts& m_fonts;
    double m_scale;
};

} // namespace ui::win32
