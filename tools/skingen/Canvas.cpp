#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

namespace skingen {

namespace {

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

// Coverage of a pixel whose centre lies `distance` outside a shape's edge (negative: inside).
float coverageOf(float distance) {
    return clamp01(0.5f - distance);
}

float roundRectDistance(float px, float py, float left, float top, float right, float bottom, float radius) {
    const float cx = (left + right) / 2, cy = (top + bottom) / 2;
    const float hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
    const float qx = std::fabs(px - cx) - hx, qy = std::fabs(py - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float segmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
    const float dx = x1 - x0, dy = y1 - y0;
    const float len2 = dx * dx + dy * dy;
    const float t = len2 > 0 ? clamp01(((px - x0) * dx + (py - y0) * dy) / len2) : 0;
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

float edge(float px, float py, float x0, float y0, float x1, float y1) {
    // Signed distance to the line through the two points, positive on the left of the direction.
    const float dx = x1 - x0, dy = y1 - y0;
    const float len = std::hypot(dx, dy);
    return len > 0 ? ((px - x0) * dy - (py - y0) * dx) / len : 0;
}

} // namespace

Rgba argb(std::uint32_t v) {
    return {((v >> 16) & 0xFF) / 255.0f, ((v >> 8) & 0xFF) / 255.0f, (v & 0xFF) / 255.0f, (v >> 24) / 255.0f};
}

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height) {}

void Canvas::blend(int x, int y, Rgba c, float coverage) {
    const float a = c.a * coverage;
    if (a <= 0) return;
    Rgba& d = m_pixels[static_cast<std::size_t>(y) * m_width + x];
    const float outA = a + d.a * (1 - a);
    const auto mix = [&](float s, float dst) { return (s * a + dst * d.a * (1 - a)) / outA; };
    d = {mix(c.r, d.r), mix(c.g, d.g), mix(c.b, d.b), outA};
}

template <class Coverage>
void Canvas::paint(Coverage&& coverage, Rgba color) {
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) blend(x, y, color, coverage(x + 0.5f, y + 0.5f));
}

void Canvas::roundRect(float l, float t, float r, float b, float radius, Rgba color) {
    paint([&](float x, float y) { return coverageOf(roundRectDistance(x, y, l, t, r, b, radius)); }, color);
}

void Canvas::roundRectCorners(float l, float t, float r, float b, float radius, const bool rounded[4], Rgba color) {
    paint(
        [&](float x, float y) {
            const bool left = x < (l + r) / 2, top = y < (t + b) / 2;
            const int corner = top ? (left ? 0 : 1) : (left ? 3 : 2);
            const float rad = rounded[corner] ? radius : 0.0f;
            return coverageOf(roundRectDistance(x, y, l, t, r, b, rad));
        },
        color);
}

void Canvas::roundFrame(float l, float t, float r, float b, float radius, float thickness, Rgba color) {
    paint(
        [&](float x, float y) {
            const float d = roundRectDistance(x, y, l, t, r, b, radius);
            return std::min(coverageOf(d), coverageOf(-d - thickness));
        },
        color);
}

void Canvas::ring(float cx, float cy, float radius, float thickness, Rgba color) {
    paint(
        [&](float x, float y) {
            const float d = std::hypot(x - cx, y - cy) - radius;
            return coverageOf(std::fabs(d + thickness / 2) - thickness / 2);
        },
        color);
}

void Canvas::disc(float cx, float cy, float radius, Rgba color) {
    paint([&](float x, float y) { return coverageOf(std::hypot(x - cx, y - cy) - radius); }, color);
}

void Canvas::line(float x0, float y0, float x1, float y1, float thickness, Rgba color) {
    paint([&](float x, float y) { return coverageOf(segmentDistance(x, y, x0, y0, x1, y1) - thickness / 2); }, color);
}

void Canvas::triangle(float x0, float y0, float x1, float y1, float x2, float y2, Rgba color) {
    // Orientation decides which side of each edge is inside.
    const float sign = edge(x2, y2, x0, y0, x1, y1) > 0 ? 1.0f : -1.0f;
    paint(
        [&](float x, float y) {
            const float d = std::max({-sign * edge(x, y, x0, y0, x1, y1), -sign * edge(x, y, x1, y1, x2, y2),
                                      -sign * edge(x, y, x2, y2, x0, y0)});
            return coverageOf(d);
        },
        color);
}

std::vector<unsigned char> Canvas::rgbaBytes() const {
    std::vector<unsigned char> bytes(m_pixels.size() * 4);
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        const Rgba& p = m_pixels[i];
        bytes[i * 4 + 0] = static_cast<unsigned char>(std::lround(clamp01(p.r) * 255));
        bytes[i * 4 + 1] = static_cast<unsigned char>(std::lround(clamp01(p.g) * 255));
        bytes[i * 4 + 2] = static_cast<unsigned char>(std::lround(clamp01(p.b) * 255));
        bytes[i * 4 + 3] = static_cast<unsigned char>(std::lround(clamp01(p.a) * 255));
    }
    return bytes;
}

bool Canvas::savePng(const std::string& path) const {
    const std::vector<unsigned char> bytes = rgbaBytes();
    const std::string temporary = path + ".tmp";
    if (!stbi_write_png(temporary.c_str(), m_width, m_height, 4, bytes.data(), m_width * 4)) return false;
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    return !ec;
}

bool Canvas::saveJpg(const std::string& path) const {
    const std::vector<unsigned char> bytes = rgbaBytes();
    const std::string temporary = path + ".tmp";
    if (!stbi_write_jpg(temporary.c_str(), m_width, m_height, 4, bytes.data(), 90)) return false;
    std::error_code ec;
    std::filesystem::rename(temporary, path, ec);
    return !ec;
}

} // namespace skingen
