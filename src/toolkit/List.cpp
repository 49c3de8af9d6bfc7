#include "toolkit/List.h"

#include "toolkit/Window.h"

namespace ui {

namespace {
constexpr int kScrollBarWidth = 6;
constexpr int kMinThumb = 20;
} // namespace

bool List::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"scrollstep")
        m_scrollStep = std::max(1, parseInteger(value).value_or(60));
    else if (name == L"vscrollbar")
        m_scrollBar = parseBool(value);
    else if (name == L"thumbimage")
        m_thumbImage = parseImageSpec(value);
    else if (name == L"thumbcolor")
        m_thumbColor = parseColor(value).value_or(m_thumbColor);
    else
        return VerticalLayout::setAttribute(name, value);
    return true;
}

void List::setScrollPos(int pos) {
    const int clamped = std::clamp(pos, 0, scrollRange());
    if (clamped == m_scroll) return;
    m_scroll = clamped;
    needLayout();
}

bool List::onWheel(int notches) {
    if (scrollRange() == 0) return false;
    setScrollPos(m_scroll - notches * scaled(m_scrollStep, scale()));
    return true;
}

void List::layoutChildren(const Rect& listInner, double scale) {
    m_inner = listInner;
    m_viewport = listInner.height();
    // Rows that ask for no height get the visible height; measure the content with the scroll at 0 first.
    int content = 0;
    int placed = 0;
    for (const auto& item : m_items) {
        if (item->isFloat() || !item->visible()) continue;
        const Edges m = scaled(item->margin(), scale);
        const int want = item->desiredSize({listInner.width(), listInner.height()}, scale).cy;
        content += (want > 0 ? want : m_viewport) + m.top + m.bottom;
        ++placed;
    }
    if (placed > 1) content += scaled(m_childPadding, scale) * (placed - 1);
    m_content = content;
    m_scroll = std::clamp(m_scroll, 0, scrollRange());
    // Rows leave room for the scroll bar while there is something to scroll.
    Rect rows = listInner;
    if (m_scrollBar && scrollRange() > 0)
        rows.right = std::max(rows.left, rows.right - scaled(kScrollBarWidth + 4, scale));
    placeChildren(rows, scale, m_scroll, m_viewport);
}

Rect List::scrollThumb() const {
    if (!m_scrollBar || scrollRange() == 0 || m_viewport <= 0) return {};
    const int width = scaled(kScrollBarWidth, scale());
    const int track = m_inner.height();
    const int thumb = std::max(std::min(track, scaled(kMinThumb, scale())),
                               static_cast<int>(static_cast<long long>(track) * m_viewport / m_content));
    const int top = m_inner.top + static_cast<int>(static_cast<long long>(track - thumb) * m_scroll / scrollRange());
    return {m_inner.right - width, top, m_inner.right, top + thumb};
}

void List::paint(Painter& painter) const {
    Container::paint(painter);
    const Rect thumb = scrollThumb();
    if (thumb.empty()) return;
    if (!m_thumbImage.empty())
        painter.drawImage(m_thumbImage, thumb);
    else
        painter.fillRect(thumb, m_thumbColor);
}

} // namespace ui
