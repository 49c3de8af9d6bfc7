#pragma once
// What a control tree needs from whoever draws it. The Win32 host implements it with GDI; tests use a
// painter that records calls. Text arrives as markup runs; images as skin image specs, which the painter
// resolves to bitmaps and places with the 9-slice arithmetic (NineSlice.h).

#include <string_view>
#include <vector>

#include "toolkit/Color.h"
#include "toolkit/Geometry.h"
#include "toolkit/ImageSpec.h"
#include "toolkit/Markup.h"

namespace ui {

enum class HAlign { Left, Center, Right };

struct TextStyle {
    int font = -1; // index into the window's fonts, -1 for its default
    Argb color = kBlack;
    HAlign align = HAlign::Left;
    bool multiline = false;
    bool vcenter = true;
};

class Painter {
public:
    virtual ~Painter() = default;
    virtual void fillRect(const Rect& rect, Argb color) = 0;
    // `control` is the control's rectangle: the image's dest, if any, is relative to it.
    virtual void drawImage(const ImageSpec& image, const Rect& control) = 0;
    virtual void drawText(const Rect& rect, const std::vector<TextRun>& runs, const TextStyle& style) = 0;
    virtual void pushClip(const Rect& rect) = 0;
    virtual void popClip() = 0;
};

// Text extents for layout (auto-sized labels). The host measures with its real font; the default estimate
// keeps headless layouts deterministic.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual Size measure(std::wstring_view text, int font, double scale) const = 0;
};

class EstimatedTextMetrics final : public TextMetrics {
public:
    Size measure(std::wstring_view text, int font, double scale) const override;
};

} // namespace ui
