#pragma once
// An image attribute of the skin: "file='common9\checkbox_normal.png' dest='0,0,16,16' corner='9,9,9,9'".
//
// A value without '=' is just the file name. Keys: file, source (part of the image to use), dest (where in
// the control, in skin pixels), corner (edge widths kept unstretched, in image pixels), fade (0-255), hole
// (skip the centre of a 9-slice). Unknown keys are ignored; a malformed rectangle is dropped and logged.
// File names use '/' after parsing, whatever separator the skin wrote.

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/Geometry.h"

namespace ui {

struct ImageSpec {
    std::wstring file;
    std::optional<Rect> source;
    std::optional<Rect> dest;
    Edges corner;
    int fade = 255;
    bool hole = false;

    bool empty() const { return file.empty(); }
    bool operator==(const ImageSpec&) const = default;
};

ImageSpec parseImageSpec(std::wstring_view text);

// "l,t,r,b" with optional blanks; nothing unless all four are integers.
std::optional<Rect> parseRect(std::wstring_view text);
std::optional<Edges> parseEdges(std::wstring_view text);

// Backslashes become '/', so a name finds the same file in the skin folder and in the pack.
std::wstring normalizeImageName(std::wstring_view name);

} // namespace ui
