#include "toolkit/TextFit.h"

#include <algorithm>

#include "toolkit/Control.h"
#include "toolkit/Window.h"

namespace ui {

namespace {

// Ideographs and kana: a line may break before or after any of them.
bool breaksAround(wchar_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF);
}

// The text cut into pieces that are never split: words with their trailing spaces, single ideographs.
std::vector<std::wstring_view> breakPieces(std::wstring_view text) {
    std::vector<std::wstring_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool last = i + 1 == text.size();
        const bool cut =
            last || breaksAround(text[i]) || breaksAround(text[i + 1]) || (text[i] == L' ' && text[i + 1] != L' ');
        if (cut) {
            pieces.push_back(text.substr(start, i + 1 - start));
            start = i + 1;
        }
    }
    return pieces;
}

std::wstring_view trimEnd(std::wstring_view line) {
    while (!line.empty() && line.back() == L' ') line.remove_suffix(1);
    return line;
}

void collect(const Control& control, const TextMetrics& metrics, double scale, std::vector<TextOverflow>& found) {
    if (!control.visible()) return;
    const bool drawn = !control.text().empty() && (control.textColor() >> 24) != 0 && control.kind() != L"Edit";
    if (drawn) {
        const Rect area = shrink(control.rect(), scaled(control.textPadding(), scale));
        const std::wstring text = plainText(parseMarkup(control.text()));
        const TextStyle& style = control.textStyle();
        const Size needed = style.multiline ? wrappedTextSize(text, area.width(), style.font, scale, metrics)
                                            : metrics.measure(text, style.font, scale);
        if (needed.cx > area.width() || needed.cy > area.height())
            found.push_back({&control, text, needed, {area.width(), area.height()}});
    }
    std::vector<Control*> kids;
    control.children(kids);
    for (const Control* child : kids) collect(*child, metrics, scale, found);
}

} // namespace

Size wrappedTextSize(std::wstring_view text, int width, int font, double scale, const TextMetrics& metrics) {
    const int lineHeight = metrics.measure(L"Ag", font, scale).cy;
    Size extent{0, 0};
    std::size_t lineStart = 0, lineEnd = 0; // the current line is text[lineStart, lineEnd)
    const auto endLine = [&] {
        extent.cx =
            std::max(extent.cx, metrics.measure(trimEnd(text.substr(lineStart, lineEnd - lineStart)), font, scale).cx);
        extent.cy += lineHeight;
        lineStart = lineEnd;
    };
    for (std::wstring_view piece : breakPieces(text)) {
        const std::size_t pieceEnd = lineEnd + piece.size();
        const auto widened = trimEnd(text.substr(lineStart, pieceEnd - lineStart));
        if (lineEnd > lineStart && metrics.measure(widened, font, scale).cx > width) endLine();
        lineEnd = pieceEnd;
    }
    if (lineEnd > lineStart) endLine();
    return extent;
}

std::vector<TextOverflow> findTextOverflows(const Window& window, const TextMetrics& metrics) {
    std::vector<TextOverflow> found;
    if (const Control* root = window.root()) collect(*root, metrics, window.scale(), found);
    return found;
}

} // namespace ui
