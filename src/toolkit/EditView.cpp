// The edit's geometry: where each character boundary lies in the window's font and scale, the horizontal
// scroll that keeps the caret in view, the mouse, and painting.

#include <algorithm>

#include "toolkit/Edit.h"
#include "toolkit/Window.h"

namespace ui {

std::wstring Edit::shownText() const {
    return m_password ? std::wstring(m_text.size(), L'*') : m_text;
}

int Edit::widthOf(std::size_t count) const {
    const TextMetrics& metrics = m_window ? m_window->textMetrics() : Window::defaultMetrics();
    return count == 0 ? 0
                      : metrics.measure(std::wstring_view(shownText()).substr(0, count), m_textStyle.font, scale()).cx;
}

Rect Edit::textArea() const {
    return shrink(m_rect, scaled(m_textPadding, scale()));
}

int Edit::caretWidth() const {
    return std::max(1, scaled(1, scale()));
}

// A text that fits keeps the skin's alignment; a longer one starts at the area's left edge, scrolled.
int Edit::textLeft() const {
    const Rect area = textArea();
    const int spare = area.width() - widthOf(m_text.size()) - caretWidth();
    if (spare < 0 || m_textStyle.align == HAlign::Left) return area.left - m_scroll;
    return area.left + (m_textStyle.align == HAlign::Center ? spare / 2 : spare);
}

void Edit::scrollToCaret() {
    const int room = textArea().width() - caretWidth();
    const int caretX = widthOf(m_caret);
    if (caretX < m_scroll) m_scroll = caretX;
    if (caretX > m_scroll + room) m_scroll = caretX - room;
    m_scroll = std::clamp(m_scroll, 0, std::max(0, widthOf(m_text.size()) - room));
}

std::size_t Edit::boundaryAt(int x) const {
    const int offset = x - textLeft();
    int before = 0;
    std::size_t previous = 0;
    for (std::size_t i = 1; i <= m_text.size(); ++i) {
        if (insidePair(i)) continue;
        const int after = widthOf(i);
        if (offset < after) return offset - before < after - offset ? previous : i;
        before = after;
        previous = i;
    }
    return m_text.size();
}

void Edit::arrange(const Rect& rect, double scale) {
    Control::arrange(rect, scale);
    scrollToCaret();
}

void Edit::onMouseDown(Point p, MouseButton button) {
    if (button == MouseButton::Left) setCaret(boundaryAt(p.x));
}

void Edit::onDoubleClick(Point) {
    select(0, m_text.size());
}

void Edit::onMouseDrag(Point p) {
    select(m_anchor, boundaryAt(p.x));
}

void Edit::onFocusChanged(bool focused) {
    // Focus from the keyboard or from code selects all; a click then places the caret where it landed.
    if (focused) select(0, m_text.size());
    Control::onFocusChanged(focused);
}

void Edit::paint(Painter& painter) const {
    if (m_bkColor) painter.fillRect(m_rect, *m_bkColor);
    const ImageSpec* image = &m_normalImage;
    if (!isEnabledInTree() && !m_disabledImage.empty())
        image = &m_disabledImage;
    else if (m_focused && !m_focusedImage.empty())
        image = &m_focusedImage;
    else if (m_hot && !m_hotImage.empty())
        image = &m_hotImage;
    if (!image->empty()) painter.drawImage(*image, m_rect);
    if (m_text.empty() && !m_focused) return;

    const Rect area = textArea();
    const int left = textLeft();
    const TextMetrics& metrics = m_window ? m_window->textMetrics() : Window::defaultMetrics();
    const int lineHeight = std::min(area.height(), metrics.measure(L"|", m_textStyle.font, scale()).cy);
    const int top = area.top + (area.height() - lineHeight) / 2;
    painter.pushClip(area);
    const auto [first, last] = selection();
    if (m_focused && first < last)
        painter.fillRect({left + widthOf(first), top, left + widthOf(last), top + lineHeight}, m_selectedColor);
    if (!m_text.empty()) {
        TextStyle style = m_textStyle;
        style.color = isEnabledInTree() ? m_textColor : m_disabledTextColor;
        style.align = HAlign::Left;
        const Rect line{left, area.top, std::max(area.right, left + widthOf(m_text.size()) + caretWidth()),
                        area.bottom};
        // Markup is for display only: its caret positions count the tags.
        painter.drawText(
            line, m_showMarkup ? parseMarkup(m_text) : std::vector<TextRun>{TextRun{shownText(), {}, false}}, style);
    }
    if (m_focused) {
        const int x = left + widthOf(m_caret);
        painter.fillRect({x, top, x + caretWidth(), top + lineHeight}, m_textColor);
    }
    painter.popClip();
}

} // namespace ui
