#include "toolkit/Container.h"

#include "toolkit/Window.h"

namespace ui {

Container::Container(std::wstring_view kind) : Control(kind) {}

Container::Container(const Container& other)
    : Control(other), m_padding(other.m_padding), m_childPadding(other.m_childPadding),
      m_childAlign(other.m_childAlign) {
    m_parent = nullptr;
    m_window = nullptr;
    m_items.reserve(other.m_items.size());
    for (const auto& item : other.m_items) add(item->clone());
}

Container::~Container() {
    // Children first, while their window can still forget them.
    removeAll();
}

bool Container::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"padding" || name == L"inset") {
        m_padding = parseEdges(value).value_or(Edges{});
    } else if (name == L"childpadding") {
        m_childPadding = std::max(0, parseInteger(value).value_or(0));
    } else if (name == L"childalign") {
        m_childAlign = value == L"center" ? HAlign::Center : value == L"right" ? HAlign::Right : HAlign::Left;
    } else {
        return Control::setAttribute(name, value);
    }
    return true;
}

Control* Container::add(std::unique_ptr<Control> child) {
    return insert(m_items.size(), std::move(child));
}

Control* Container::insert(std::size_t index, std::unique_ptr<Control> child) {
    if (!child) return nullptr;
    Control* raw = child.get();
    raw->attach(this, m_window);
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(std::min(index, m_items.size())), std::move(child));
    needLayout();
    return raw;
}

int Container::indexOf(const Control* child) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == child) return static_cast<int>(i);
    return -1;
}

std::unique_ptr<Control> Container::take(Control* child) {
    const int index = indexOf(child);
    if (index < 0) return nullptr;
    if (m_window) m_window->controlRemoved(child);
    std::unique_ptr<Control> out = std::move(m_items[static_cast<std::size_t>(index)]);
    m_items.erase(m_items.begin() + index);
    out->attach(nullptr, nullptr);
    needLayout();
    return out;
}

bool Container::remove(Control* child) {
    return take(child) != nullptr;
}

void Container::removeAll() {
    while (!m_items.empty()) take(m_items.back().get());
}

void Container::children(std::vector<Control*>& out) const {
    for (const auto& item : m_items) out.push_back(item.get());
}

void Container::attachWindow(Window* window) {
    Control::attachWindow(window);
    for (const auto& item : m_items) item->attach(this, window);
}

void Container::arrange(const Rect& rect, double scale) {
    Control::arrange(rect, scale);
    layoutChildren(shrink(rect, scaled(m_padding, scale)), scale);
    layoutFloating(scale);
}

void Container::layoutChildren(const Rect& inner, double scale) {
    for (const auto& item : m_items)
        if (!item->isFloat()) item->arrange(inner, scale);
}

void Container::layoutFloating(double scale) {
    for (const auto& item : m_items) {
        if (!item->isFloat() || !item->visible()) continue;
        const Size want = item->desiredSize({m_rect.width(), m_rect.height()}, scale);
        Rect r = m_rect;
        if (const auto& pos = item->floatPos()) {
            const Rect p = scaled(*pos, scale);
            r = {m_rect.left + p.left, m_rect.top + p.top, m_rect.left + p.right, m_rect.top + p.bottom};
            if (r.right <= r.left) r.right = r.left + want.cx;
            if (r.bottom <= r.top) r.bottom = r.top + want.cy;
        } else {
            if (want.cx > 0) r.right = r.left + want.cx;
            if (want.cy > 0) r.bottom = r.top + want.cy;
        }
        item->arrange(r, scale);
    }
}

Control* Container::hitTest(Point p) {
    if (!m_visible || !m_rect.contains(p)) return nullptr;
    // Later children lie above earlier ones, floating or not.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if (Control* hit = (*it)->hitTest(p)) return hit;
    return acceptsMouse() ? this : nullptr;
}

void Container::paint(Painter& painter) const {
    if (m_bkColor) painter.fillRect(m_rect, *m_bkColor);
    if (!m_bkImage.empty()) painter.drawImage(m_bkImage, m_rect);
    painter.pushClip(m_rect);
    paintChildren(painter);
    painter.popClip();
}

void Container::paintChildren(Painter& painter) const {
    // Children outside this container are clipped away anyway: the rows of a long list cost nothing.
    for (const auto& item : m_items)
        if (item->visible() && !item->rect().intersect(m_rect).empty()) item->paint(painter);
}

BoxLayout::BoxLayout(std::wstring_view kind, bool vertical) : Container(kind), m_vertical(vertical) {}

void BoxLayout::layoutChildren(const Rect& inner, double scale) {
    const int room = m_vertical ? inner.height() : inner.width();
    // First pass: what the fixed children and the gaps take, and how many children stretch.
    int fixed = 0;
    int stretching = 0;
    int placed = 0;
    for (const auto& item : m_items) {
        if (item->isFloat() || !item->visible()) continue;
        const Size want = item->desiredSize({inner.width(), inner.height()}, scale);
        const Edges m = scaled(item->margin(), scale);
        const int along = m_vertical ? want.cy : want.cx;
        fixed += along + (m_vertical ? m.top + m.bottom : m.left + m.right);
        if (along == 0) ++stretching;
        ++placed;
    }
    if (placed > 1) fixed += scaled(m_childPadding, scale) * (placed - 1);
    const int stretchSize = stretching > 0 ? std::max(0, room - fixed) / stretching : 0;
    placeChildren(inner, scale, 0, stretchSize);
}

int BoxLayout::placeChildren(const Rect& inner, double scale, int offset, int stretchSize) {
    int pos = (m_vertical ? inner.top : inner.left) - offset;
    const int gap = scaled(m_childPadding, scale);
    bool first = true;
    for (const auto& item : m_items) {
        if (item->isFloat() || !item->visible()) continue;
        if (!first) pos += gap;
        first = false;
        const Size want = item->desiredSize({inner.width(), inner.height()}, scale);
        const Edges m = scaled(item->margin(), scale);
        Rect r;
        if (m_vertical) {
            const int height = want.cy > 0 ? want.cy : stretchSize;
            const int room = inner.width() - m.left - m.right;
            const int width = want.cx > 0 ? std::min(want.cx, room) : room;
            int left = inner.left + m.left;
            if (m_childAlign == HAlign::Center) left += (room - width) / 2;
            if (m_childAlign == HAlign::Right) left += room - width;
            r = {left, pos + m.top, left + std::max(0, width), pos + m.top + height};
            pos = r.bottom + m.bottom;
        } else {
            const int width = want.cx > 0 ? want.cx : stretchSize;
            const int room = inner.height() - m.top - m.bottom;
            const int height = want.cy > 0 ? std::min(want.cy, room) : room;
            const int top = inner.top + m.top + (want.cy > 0 ? (room - height) / 2 : 0);
            r = {pos + m.left, top, pos + m.left + width, top + std::max(0, height)};
            pos = r.right + m.right;
        }
        item->arrange(r, scale);
    }
    return pos + offset - (m_vertical ? inner.top : inner.left);
}

bool TabLayout::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"selectedid") {
        m_selected = std::max(0, parseInteger(value).value_or(0));
        return true;
    }
    return Container::setAttribute(name, value);
}

bool TabLayout::selectItem(int index) {
    if (index < 0 || index >= static_cast<int>(m_items.size())) return false;
    m_selected = index;
    showSelected();
    return true;
}

void TabLayout::showSelected() {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (!m_items[i]->isFloat()) m_items[i]->setVisible(static_cast<int>(i) == m_selected);
}

void TabLayout::layoutChildren(const Rect& inner, double scale) {
    showSelected();
    for (const auto& item : m_items)
        if (!item->isFloat()) item->arrange(inner, scale);
}

} // namespace ui
