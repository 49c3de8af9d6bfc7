#pragma once
// GDI objects the painter reuses between paints: skin images as 32-bit premultiplied DIB sections (ready for
// AlphaBlend) and fonts by face, size and weight at the display scale. Text extents for layout come from the
// same fonts, so what is laid out is what is drawn.

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "toolkit/SkinResources.h"
#include "toolkit/Window.h"

namespace ui::win32 {

class GdiImages {
public:
    explicit GdiImages(SkinResources& resources) : m_resources(resources) {}
    ~GdiImages();
    GdiImages(const GdiImages&) = delete;
    GdiImages& operator=(const GdiImages&) = delete;

    // Null when the image is not available (logged once by the resources).
    HBITMAP get(std::wstring_view file, Size& size);

private:
    struct Entry {
        HBITMAP bitmap = nullptr;
        Size size;
    };
    SkinResources& m_resources;
    std::map<std::wstring, Entry, std::less<>> m_bitmaps;
};

class GdiFonts final : public TextMetrics {
public:
    explicit GdiFonts(const Window& window);
    ~GdiFonts() override;
    GdiFonts(const GdiFonts&) = delete;
    GdiFonts& operator=(const GdiFonts&) = delete;

    // The window's font `id` (-1: its default) at `scale`.
    HFONT get(int id, double scale);
    Size measure(std::wstring_view text, int font, double scale) const override;

private:
    const Window& m_window;
    std::map<std::tuple<std::wstring, int, bool, bool>, HFONT> m_fonts;
    HDC m_measureDc;
};

inline COLORREF colorRef(Argb color) {
    return RGB(redOf(color), greenOf(color), blueOf(color));
}

} // namespace ui::win32
