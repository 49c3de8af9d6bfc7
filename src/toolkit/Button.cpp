#include "toolkit/Button.h"

#include "toolkit/Window.h"

namespace ui {

bool Button::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"normalimage")
        m_normalImage = parseImageSpec(value);
    else if (name == L"hotimage")
        m_hotImage = parseImageSpec(value);
    else if (name == L"pushedimage")
        m_pushedImage = parseImageSpec(value);
    else if (name == L"disabledimage")
        m_disabledImage = parseImageSpec(value);
    else if (name == L"foreimage")
        m_foreImage = parseImageSpec(value);
    else if (name == L"hottextcolor")
        m_hotTextColor = parseColor(value);
    else if (name == L"pushedtextcolor")
        m_pushedTextColor = parseColor(value);
    else if (name == L"keyboard")
        m_keyboard = parseBool(value);
    else
        return Control::setAttribute(name, value);
    return true;
}

void Button::setStateImages(std::wstring_view normal, std::wstring_view hot, std::wstring_view pushed) {
    m_normalImage = parseImageSpec(normal);
    m_hotImage = parseImageSpec(hot);
    m_pushedImage = parseImageSpec(pushed);
    repaint();
}

const ImageSpec& Button::stateImage() const {
    if (!isEnabledInTree()) return m_disabledImage.empty() ? m_normalImage : m_disabledImage;
    if (m_pushed && m_hot && !m_pushedImage.empty()) return m_pushedImage;
    if ((m_hot || m_pushed) && !m_hotImage.empty()) return m_hotImage;
    return m_normalImage;
}

Argb Button::stateTextColor() const {
    if (!isEnabledInTree()) return m_disabledTextColor;
    if (m_pushed && m_hot && m_pushedTextColor) return *m_pushedTextColor;
    if (m_hot && m_hotTextColor) return *m_hotTextColor;
    return m_textColor;
}

void Button::onMouseEnter() {
    Control::onMouseEnter();
    if (isEnabledInTree()) notify(events::kMouseEnter);
}

void Button::onMouseLeave() {
    Control::onMouseLeave();
    if (isEnabledInTree()) notify(events::kMouseLeave);
}

void Button::onMouseDown(Point, MouseButton button) {
    if (button == MouseButton::Right) notify(events::kRightButtonDown);
}

void Button::onMouseUp(Point, bool inside) {
    if (inside) activate();
}

bool Button::onKey(Key key, KeyModifiers) {
    if (key != Key::Return && key != Key::Space) return false;
    activate();
    return true;
}

void Button::activate() {
    notify(events::kClick);
}

void Button::paint(Painter& painter) const {
    if (m_bkColor) painter.fillRect(m_rect, *m_bkColor);
    if (!m_bkImage.empty()) painter.drawImage(m_bkImage, m_rect);
    const ImageSpec& image = stateImage();
    if (!image.empty()) painter.drawImage(image, m_rect);
    if (!m_foreImage.empty()) painter.drawImage(m_foreImage, m_rect);
    paintText(painter, m_rect, stateTextColor());
}

bool Option::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"group")
        m_group = value;
    else if (name == L"selected")
        m_selected = parseBool(value);
    else if (name == L"selectedimage")
        m_selectedImage = parseImageSpec(value);
    else if (name == L"selectedhotimage")
        m_selectedHotImage = parseImageSpec(value);
    else if (name == L"selectedtextcolor")
        m_selectedTextColor = parseColor(value);
    else
        return Button::setAttribute(name, value);
    return true;
}

namespace {

void collectGroup(Control* from, std::wstring_view group, std::vector<Option*>& out) {
    if (auto* option = dynamic_cast<Option*>(from); option && option->group() == group) out.push_back(option);
    std::vector<Control*> kids;
    from->children(kids);
    for (Control* child : kids) collectGroup(child, group, out);
}

} // namespace

void Option::setSelected(bool selected, bool sendNotify) {
    if (m_selected == selected) return;
    m_selected = selected;
    repaint();
    std::vector<Option*> cleared;
    if (selected && !m_group.empty() && m_window && m_window->root()) {
        std::vector<Option*> members;
        collectGroup(m_window->root(), m_group, members);
        for (Option* other : members) {
            if (other == this || !other->m_selected) continue;
            other->m_selected = false;
            cleared.push_back(other);
        }
    }
    if (!sendNotify) return;
    for (Option* other : cleared) other->notify(events::kSelectChanged);
    notify(events::kSelectChanged);
}

void Option::activate() {
    if (m_group.empty())
        setSelected(!m_selected);
    else
        setSelected(true);
    notify(events::kClick); // last: a handler may delete the option
}

const ImageSpec& Option::stateImage() const {
    if (m_selected) {
        if (m_hot && !m_selectedHotImage.empty() && isEnabledInTree()) return m_selectedHotImage;
        if (!m_selectedImage.empty()) return m_selectedImage;
    }
    return Button::stateImage();
}

void Option::paint(Painter& painter) const {
    if (m_bkColor) painter.fillRect(m_rect, *m_bkColor);
    if (!m_bkImage.empty()) painter.drawImage(m_bkImage, m_rect);
    const ImageSpec& image = stateImage();
    if (!image.empty()) painter.drawImage(image, m_rect);
    if (!m_foreImage.empty()) painter.drawImage(m_foreImage, m_rect);
    const Argb color = m_selected && m_selectedTextColor && isEnabledInTree() ? *m_selectedTextColor : stateTextColor();
    paintText(painter, m_rect, color);
}

} // namespace ui
