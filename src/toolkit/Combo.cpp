#include "toolkit/Combo.h"

#include "toolkit/Window.h"

namespace ui {

bool Combo::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"arrowimage") {
        m_arrowImage = parseImageSpec(value);
        return true;
    }
    return Button::setAttribute(name, value);
}

int Combo::addItem(std::wstring_view text, std::int64_t tag, ComboItemLook look) {
    m_items.push_back({std::wstring(text), tag, std::move(look)});
    return static_cast<int>(m_items.size()) - 1;
}

void Combo::removeAll() {
    m_items.clear();
    m_selected = -1;
}

const ComboItem* Combo::selectedItem() const {
    return m_selected >= 0 ? &m_items[static_cast<std::size_t>(m_selected)] : nullptr;
}

const std::wstring& Combo::selectedText() const {
    static const std::wstring none;
    return m_selected >= 0 ? m_items[static_cast<std::size_t>(m_selected)].text : none;
}

bool Combo::selectItem(int index, bool sendNotify) {
    if (index < -1 || index >= static_cast<int>(m_items.size())) return false;
    const int old = m_selected;
    if (old == index) return true;
    m_selected = index;
    if (sendNotify) notify(events::kItemSelect, index, old);
    return true;
}

bool Combo::chooseItem(int index) {
    m_dropped = false;
    if (index < 0) return false;
    return selectItem(index, true);
}

void Combo::activate() {
    m_dropped = !m_dropped;
    if (m_dropped && m_window) m_window->dropDown(*this);
    notify(events::kClick);
}

bool Combo::onKey(Key key, KeyModifiers mods) {
    if (key == Key::Up || key == Key::Down) {
        const int next = m_selected + (key == Key::Down ? 1 : -1);
        if (next >= 0 && next < static_cast<int>(m_items.size())) selectItem(next, true);
        return true;
    }
    if (key == Key::Escape && m_dropped) {
        m_dropped = false;
        return true;
    }
    return Button::onKey(key, mods);
}

void Combo::onFocusChanged(bool focused) {
    if (!focused) m_dropped = false;
    Button::onFocusChanged(focused);
}

void Combo::paint(Painter& painter) const {
    if (m_bkColor) painter.fillRect(m_rect, *m_bkColor);
    const ImageSpec& image = stateImage();
    if (!image.empty()) painter.drawImage(image, m_rect);
    if (!m_arrowImage.empty()) painter.drawImage(m_arrowImage, m_rect);
    if (m_selected < 0) return;
    TextStyle style = m_textStyle;
    style.color = stateTextColor();
    painter.drawText(shrink(m_rect, scaled(m_textPadding, scale())), {TextRun{selectedText(), {}, false}}, style);
}

} // namespace ui
