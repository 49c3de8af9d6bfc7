#include "toolkit/Edit.h"

namespace ui {

bool Edit::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"maxchar")
        m_maxChars = static_cast<std::size_t>(std::max(0, parseInteger(value).value_or(255)));
    else if (name == L"readonly")
        m_readOnly = parseBool(value);
    else if (name == L"numberonly")
        m_numberOnly = parseBool(value);
    else if (name == L"password")
        m_password = parseBool(value);
    else if (name == L"showhtml")
        m_showMarkup = parseBool(value);
    else if (name == L"normalimage")
        m_normalImage = parseImageSpec(value);
    else if (name == L"hotimage")
        m_hotImage = parseImageSpec(value);
    else if (name == L"focusedimage" || name == L"pushedimage")
        m_focusedImage = parseImageSpec(value);
    else if (name == L"disabledimage")
        m_disabledImage = parseImageSpec(value);
    else
        return Control::setAttribute(name, value);
    return true;
}

void Edit::setStateImages(std::wstring_view normal, std::wstring_view hot, std::wstring_view focused) {
    m_normalImage = parseImageSpec(normal);
    m_hotImage = parseImageSpec(hot);
    m_focusedImage = parseImageSpec(focused);
}

void Edit::setText(std::wstring_view text) {
    Control::setText(text);
    m_caret = m_text.size();
}

void Edit::changed() {
    notify(events::kTextChanged);
}

void Edit::onChar(wchar_t c) {
    if (m_readOnly || c < 0x20 || c == 0x7F) return;
    if (m_numberOnly && (c < L'0' || c > L'9')) return;
    if (m_text.size() >= m_maxChars) return;
    m_text.insert(m_caret++, 1, c);
    changed();
}

bool Edit::onKey(Key key, KeyModifiers) {
    switch (key) {
    case Key::Return:
        notify(events::kReturn);
        return true;
    case Key::Left:
        if (m_caret > 0) --m_caret;
        return true;
    case Key::Right:
        if (m_caret < m_text.size()) ++m_caret;
        return true;
    case Key::Home:
        m_caret = 0;
        return true;
    case Key::End:
        m_caret = m_text.size();
        return true;
    case Key::Back:
        if (m_readOnly || m_caret == 0) return true;
        m_text.erase(--m_caret, 1);
        changed();
        return true;
    case Key::Delete:
        if (m_readOnly || m_caret >= m_text.size()) return true;
        m_text.erase(m_caret, 1);
        changed();
        return true;
    default:
        return false;
    }
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
    if (m_text.empty()) return;
    TextStyle style = m_textStyle;
    style.color = isEnabledInTree() ? m_textColor : m_disabledTextColor;
    const Rect area = shrink(m_rect, scaled(m_textPadding, scale()));
    if (m_password)
        painter.drawText(area, {TextRun{std::wstring(m_text.size(), L'*'), {}, false}}, style);
    else if (m_showMarkup)
        painter.drawText(area, parseMarkup(m_text), style);
    else
        painter.drawText(area, {TextRun{m_text, {}, false}}, style);
}

} // namespace ui
