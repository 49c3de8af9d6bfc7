#pragma once
// A small RGBA canvas for drawing the theme's images: anti-aliased shapes from signed distances, composited
// "over" in straight alpha, saved as PNG through stb_image_write. Build-time only.

#include <cstdint>
#include <string>
#include <vector>

namespace skingen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0; // 0..1, straight alpha
};

// 0xAARRGGBB, as the skins write colours.
Rgba argb(std::uint32_t value);

class Canvas {
public:
    Canvas(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Shapes in pixel co-ordinates (pixel centres at +0.5).
    void roundRect(float left, float top, float right, float bottom, float radius, Rgba color);
    // Only the corners named (top-left, top-right, bottom-right, bottom-left) are rounded.
    void roundRectCorners(float left, float top, float right, float bottom, float radius, const bool rounded[4],
                          Rgba color);
    void ring(float cx, float cy, float radius, float thickness, Rgba color);
    void disc(float cx, float cy, float radius, Rgba color);
    void line(float x0, float y0, float x1, float y1, float thickness, Rgba color);
    void triangle(float x0, float y0, float x1, float y1, float x2, float y2, Rgba color);
    // A border inside a rounded rectangle.
    void roundFrame(float left, float top, float right, float bottom, float radius, float thickness, Rgba color);

    // The pixels as 8-bit RGBA, top row first, straight alpha.
    std::vector<unsigned char> rgbaBytes() const;
    // Writes through a temporary file and a rename; false on failure.
    bool savePng(const std::string& path) const;
    bool saveJpg(const std::string& path) const; // opaque: alpha is dropped

private:
    template <class Coverage>
    void paint(Coverage&& coverage, Rgba color);
    void blend(int x, int y, Rgba color, float coverage);

    int m_width;
    int m_height;
    std::vector<Rgba> m_pixels;
};

} // namespace skingen
