#include "toolkit/Slider.h"

#include "toolkit/Window.h"

namespace ui {

bool Progress::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"min")
        m_min = parseInteger(value).value_or(m_min);
    else if (name == L"max")
        m_max = parseInteger(value).value_or(m_max);
    else if (name == L"value")
        m_value = parseInteger(value).value_or(m_value);
    else if (name == L"foreimage")
        m_foreImage = parseImageSpec(value);
    else if (name == L"forecolor")
        m_foreColor = parseColor(value);
    else
        return Control::setAttribute(name, value);
    if (m_max < m_min) m_max = m_min;
    m_value = std::clamp(m_value, m_min, m_max);
    return true;
}

void Progress::setRange(int min, int max) {
    m_min = min;
    m_max = std::max(min, max);
    m_value = std::clamp(m_value, m_min, m_max);
}

void Progress::setValue(int value) {
    m_value = std::clamp(value, m_min, m_max);
    repaint();
}

Rect Progress::filledRect() const {
    if (m_max <= m_min) return {};
    const long long span = m_max - m_min;
    const int width = static_cast<int>(m_rect.width() * static_cast<long long>(m_value - m_min) / span);
    Rect r = m_rect;
    r.right = r.left + width;
    return r.empty() ? Rect{} : r;
}

void Progress::paint(Painter& painter) const {
    Control::paint(painter);
    const Rect filled = filledRect();
    if (filled.empty()) return;
    if (m_foreColor) painter.fillRect(filled, *m_foreColor);
    if (!m_foreImage.empty()) painter.drawImage(m_foreImage, filled);
}

bool Slider::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"step") {
        m_step = std::max(1, parseInteger(value).value_or(1));
    } else if (name == L"thumbsize") {
        const auto comma = value.find(L',');
        if (comma != std::wstring_view::npos)
            m_thumbSize = {std::max(0, parseInteger(value.substr(0, comma)).value_or(10)),
                           std::max(0, parseInteger(value.substr(comma + 1)).value_or(10))};
    } else if (name == L"thumbimage") {
        m_thumbImage = parseImageSpec(value);
    } else if (name == L"thumbhotimage") {
        m_thumbHotImage = parseImageSpec(value);
    } else {
        return Progress::setAttribute(name, value);
    }
    return true;
}

Rect Slider::thumbRect() const {
    const int w = scaled(m_thumbSize.cx, scale());
    const int h = scaled(m_thumbSize.cy, scale());
    const int travel = std::max(0, m_rect.width() - w);
    const long long span = std::max(1, m_max - m_min);
    const int left = m_rect.left + static_cast<int>(travel * static_cast<long long>(m_value - m_min) / span);
    const int top = m_rect.top + (m_rect.height() - h) / 2;
    return {left, top, left + w, top + h};
}

int Slider::valueAt(int x) const {
    const int w = scaled(m_thumbSize.cx, scale());
    const int travel = m_rect.width() - w;
    if (travel <= 0) return m_min;
    const int thumbCentre = m_rect.left + w / 2; // whole pixels, like the thumb's placement
    const double fraction = std::clamp(static_cast<double>(x - thumbCentre) / travel, 0.0, 1.0);
    const int raw = m_min + static_cast<int>(std::lround(fraction * (m_max - m_min)));
    const int snapped = m_min + (raw - m_min + m_step / 2) / m_step * m_step;
    return std::clamp(snapped, m_min, m_max);
}

void Slider::onMouseDown(Point p, MouseButton button) {
    if (button != MouseButton::Left) return;
    m_pressValue = m_value;
    setValue(valueAt(p.x));
}

void Slider::onMouseDrag(Point p) {
    setValue(valueAt(p.x));
}

void Slider::onMouseUp(Point p, bool) {
    setValue(valueAt(p.x));
    if (m_value != m_pressValue) notify(events::kValueChanged, m_value);
}

bool Slider::onKey(Key key, KeyModifiers) {
    if (key != Key::Left && key != Key::Right) return false;
    const int old = m_value;
    setValue(m_value + (key == Key::Right ? m_step : -m_step));
    if (m_value != old) notify(events::kValueChanged, m_value);
    return true;
}

void Slider::paint(Painter& painter) const {
    Progress::paint(painter);
    const ImageSpec& thumb = m_hot && !m_thumbHotImage.empty() ? m_thumbHotImage : m_thumbImage;
    if (!thumb.empty()) painter.drawImage(thumb, thumbRect());
}

} // namespace ui
