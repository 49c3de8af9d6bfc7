#include "toolkit/Control.h"

#include <charconv>
#include <typeinfo>

#include "core/log/Log.h"
#include "core/text/Utf.h"
#include "toolkit/Container.h"
#include "toolkit/Window.h"

namespace ui {

bool parseBool(std::wstring_view value) {
    return value == L"true" || value == L"1";
}

std::optional<int> parseInteger(std::wstring_view value) {
    const std::string narrow = common::text::toUtf8(value);
    int out = 0;
    const auto [end, ec] = std::from_chars(narrow.data(), narrow.data() + narrow.size(), out);
    if (ec != std::errc() || end != narrow.data() + narrow.size() || narrow.empty()) return std::nullopt;
    return out;
}

namespace {

HAlign parseAlign(std::wstring_view value) {
    if (value.find(L"center") != std::wstring_view::npos) return HAlign::Center;
    if (value.find(L"right") != std::wstring_view::npos) return HAlign::Right;
    return HAlign::Left;
}

} // namespace

Control::Control(std::wstring_view kind) : m_kind(kind) {}

Control::~Control() = default;

std::unique_ptr<Control> Control::clone() const {
    std::unique_ptr<Control> copy = cloneSelf();
    // A class without its own cloneSelf would come back as its base and silently lose its behaviour.
    const Control* made = copy.get();
    if (!made || typeid(*made) != typeid(*this)) {
        KVLOG(L"skin: %s %s cannot be copied", m_kind, m_name);
        return nullptr;
    }
    copy->m_parent = nullptr;
    copy->m_window = nullptr;
    copy->m_hot = copy->m_pushed = copy->m_focused = false;
    return copy;
}

Control* Control::parentControl() const {
    return m_parent;
}

bool Control::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"name") {
        m_name = value;
    } else if (name == L"text") {
        setText(value);
    } else if (name == L"tooltip") {
        m_tooltip = value;
    } else if (name == L"accrole") {
        m_accRole = value;
    } else if (name == L"tag") {
        m_tag = parseInteger(value).value_or(0);
    } else if (name == L"visible") {
        m_visible = parseBool(value);
    } else if (name == L"enabled") {
        m_enabled = parseBool(value);
    } else if (name == L"mouse") {
        m_mouse = parseBool(value);
    } else if (name == L"width") {
        m_fixedWidth = std::max(0, parseInteger(value).value_or(0));
    } else if (name == L"height") {
        m_fixedHeight = std::max(0, parseInteger(value).value_or(0));
    } else if (name == L"margin") {
        m_margin = parseEdges(value).value_or(Edges{});
    } else if (name == L"float") {
        m_float = parseBool(value);
    } else if (name == L"pos") {
        m_pos = parseRect(value);
    } else if (name == L"bkcolor") {
        m_bkColor = parseColor(value);
    } else if (name == L"bkimage") {
        m_bkImage = parseImageSpec(value);
    } else if (name == L"textcolor") {
        m_textColor = parseColor(value).value_or(m_textColor);
    } else if (name == L"disabledtextcolor") {
        m_disabledTextColor = parseColor(value).value_or(m_disabledTextColor);
    } else if (name == L"font") {
        m_textStyle.font = parseInteger(value).value_or(-1);
    } else if (name == L"align") {
        m_textStyle.align = parseAlign(value);
    } else if (name == L"multiline") {
        m_textStyle.multiline = parseBool(value);
    } else if (name == L"textpadding") {
        m_textPadding = parseEdges(value).value_or(Edges{});
    } else if (name == L"autocalcwidth") {
        m_autoWidth = parseBool(value);
    } else {
        return false;
    }
    return true;
}

void Control::setText(std::wstring_view text) {
    if (m_text == text) return;
    m_text = text;
    if (m_autoWidth)
        needLayout();
    else
        repaint();
}

void Control::setTextColor(Argb color) {
    m_textColor = color;
    repaint();
}

void Control::setBkImage(std::wstring_view spec) {
    m_bkImage = parseImageSpec(spec);
    repaint();
}

void Control::setVisible(bool visible) {
    if (m_visible == visible) return;
    m_visible = visible;
    if (!visible && m_window) m_window->controlHidden(this);
    needLayout();
}

void Control::setEnabled(bool enabled) {
    if (m_enabled == enabled) return;
    m_enabled = enabled;
    if (!enabled && m_window) m_window->controlHidden(this);
    repaint();
}

bool Control::isShown() const {
    for (const Control* c = this; c; c = c->parentControl())
        if (!c->m_visible) return false;
    return true;
}

bool Control::isEnabledInTree() const {
    for (const Control* c = this; c; c = c->parentControl())
        if (!c->m_enabled) return false;
    return true;
}

void Control::setFixedWidth(int width) {
    m_fixedWidth = std::max(0, width);
    needLayout();
}

void Control::setFixedHeight(int height) {
    m_fixedHeight = std::max(0, height);
    needLayout();
}

Size Control::desiredSize(Size, double scale) const {
    Size size{scaled(m_fixedWidth, scale), scaled(m_fixedHeight, scale)};
    if (m_autoWidth && m_fixedWidth == 0) {
        const TextMetrics& metrics = m_window ? m_window->textMetrics() : Window::defaultMetrics();
        const Size text = metrics.measure(plainText(parseMarkup(m_text)), m_textStyle.font, scale);
        size.cx = text.cx + scaled(m_textPadding.left + m_textPadding.right, scale);
    }
    return size;
}

void Control::arrange(const Rect& rect, double) {
    m_rect = rect;
}

Control* Control::findByName(std::wstring_view name) {
    if (m_name == name) return this;
    std::vector<Control*> kids;
    children(kids);
    for (Control* child : kids)
        if (Control* found = child->findByName(name)) return found;
    return nullptr;
}

Control* Control::hitTest(Point p) {
    if (!m_visible || !m_rect.contains(p)) return nullptr;
    return acceptsMouse() ? this : nullptr;
}

void Control::onFocusChanged(bool focused) {
    m_focused = focused;
    notify(focused ? events::kSetFocus : events::kKillFocus);
}

void Control::attach(Container* parent, Window* window) {
    m_parent = parent;
    attachWindow(window);
}

void Control::notify(std::wstring_view type, std::int64_t wParam, std::int64_t lParam) {
    if (m_window) m_window->sendNotify(Notify{type, this, wParam, lParam});
}

void Control::needLayout() {
    if (m_window) m_window->needLayout();
}

void Control::repaint() {
    if (m_window) m_window->invalidate();
}

double Control::scale() const {
    return m_window ? m_window->scale() : 1.0;
}

void Control::paintText(Painter& painter, const Rect& area, Argb color) const {
    // A fully transparent colour keeps a text for tooltips and look-ups without drawing it (image buttons).
    if (m_text.empty() || (color >> 24) == 0) return;
    TextStyle style = m_textStyle;
    style.color = color;
    painter.drawText(shrink(area, scaled(m_textPadding, scale())), parseMarkup(m_text), style);
}

void Control::paint(Painter& painter) const {
    if (m_bkColor) painter.fillRect(m_rect, *m_bkColor);
    if (!m_bkImage.empty()) painter.drawImage(m_bkImage, m_rect);
    paintText(painter, m_rect, isEnabledInTree() ? m_textColor : m_disabledTextColor);
}

} // namespace ui
