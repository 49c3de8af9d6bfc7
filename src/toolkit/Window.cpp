#include "toolkit/Window.h"

#include "toolkit/Button.h"
#include "toolkit/Markup.h"

namespace ui {

namespace {

bool isInside(const Control* control, const Control* subtree) {
    for (const Control* c = control; c; c = c->parentControl())
        if (c == subtree) return true;
    return false;
}

// Like the mouse's hit test, except that a control with a tooltip is found even when it takes no clicks.
const Control* tooltipTarget(const Control& control, Point p) {
    if (!control.visible() || !control.rect().contains(p)) return nullptr;
    std::vector<Control*> kids;
    control.children(kids);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it)
        if (const Control* hit = tooltipTarget(**it, p)) return hit;
    return control.acceptsMouse() || !control.tooltip().empty() ? &control : nullptr;
}

} // namespace

Window::Window() = default;

Window::~Window() {
    m_accessible.reset();
    if (m_modalOwner && m_modalOwner->m_modalChild == this) m_modalOwner->m_modalChild = nullptr;
    if (m_modalChild) m_modalChild->m_modalOwner = nullptr;
    // Controls die with the root; nothing may be notified while they do.
    m_notifiers.clear();
    m_hot = m_captured = m_focus = nullptr;
    if (m_root) m_root->attach(nullptr, nullptr);
}

const TextMetrics& Window::defaultMetrics() {
    static const EstimatedTextMetrics metrics;
    return metrics;
}

void Window::setRoot(std::unique_ptr<Control> root) {
    if (m_root) controlRemoved(m_root.get());
    m_root = std::move(root);
    if (m_root) m_root->attach(nullptr, this);
    m_layoutDirty = true;
}

Control* Window::findControl(std::wstring_view name) const {
    return m_root ? m_root->findByName(name) : nullptr;
}

const FontSpec* Window::font(int id) const {
    for (const auto& f : m_fonts)
        if (id >= 0 ? f.id == id : f.isDefault) return &f;
    return m_fonts.empty() ? nullptr : &m_fonts.front();
}

void Window::setScale(double scale) {
    m_scale = scale > 0 ? scale : 1.0;
    m_layoutDirty = true;
}

Size Window::scaledInitialSize() const {
    return {scaled(m_initialSize.cx, m_scale), scaled(m_initialSize.cy, m_scale)};
}

void Window::resize(Size client) {
    m_client = client;
    layout();
}

void Window::layout() {
    m_layoutDirty = false;
    if (m_root) m_root->arrange({0, 0, m_client.cx, m_client.cy}, m_scale);
    // A tab layout settles its pages' visibility while it arranges; that is no reason to arrange again.
    m_layoutDirty = false;
}

void Window::sendNotify(const Notify& notify) {
    // A handler may add notifiers; iterate over the ones present now.
    const std::size_t count = m_notifiers.size();
    for (std::size_t i = 0; i < count && i < m_notifiers.size(); ++i) m_notifiers[i](notify);
}

Control* Window::controlAt(Point p) const {
    if (!m_root) return nullptr;
    if (m_layoutDirty) const_cast<Window*>(this)->layout();
    return m_root->hitTest(p);
}

std::wstring Window::tooltipAt(Point p) const {
    if (!m_root || inputBlocked() || m_captured) return {};
    if (m_layoutDirty) const_cast<Window*>(this)->layout();
    const Control* target = tooltipTarget(*m_root, p);
    if (!target || !target->isEnabledInTree()) return {};
    for (const Control* c = target; c; c = c->parentControl())
        if (!c->tooltip().empty()) return plainText(parseMarkup(c->tooltip()));
    return {};
}

void Window::setHot(Control* control) {
    if (control == m_hot) return;
    Control* old = m_hot;
    m_hot = control;
    if (old) old->onMouseLeave();
    if (control && m_hot == control) control->onMouseEnter();
}

void Window::mouseMove(Point p) {
    if (inputBlocked()) return;
    m_lastMouse = p;
    Control* under = controlAt(p);
    if (m_captured) {
        setHot(under == m_captured ? m_captured : nullptr);
        if (m_captured) m_captured->onMouseDrag(p);
        return;
    }
    setHot(under);
}

void Window::mouseLeave() {
    if (!m_captured) setHot(nullptr);
}

void Window::mouseDown(Point p, MouseButton button, bool doubleClick) {
    if (inputBlocked()) return;
    m_lastMouse = p;
    setHot(controlAt(p));
    Control* target = m_hot;
    if (button == MouseButton::Left)
        setFocus(target && target->isEnabledInTree() && target->acceptsFocus() ? target : nullptr);
    if (!target || m_hot != target || !target->isEnabledInTree()) return;
    if (button == MouseButton::Left) {
        m_captured = target;
        target->setPushed(true);
    }
    if (doubleClick && button == MouseButton::Left)
        target->onDoubleClick(p);
    else
        target->onMouseDown(p, button);
}

void Window::mouseUp(Point p, MouseButton button) {
    if (button != MouseButton::Left || !m_captured) return;
    Control* target = m_captured;
    m_captured = nullptr;
    target->setPushed(false);
    const bool inside = !inputBlocked() && controlAt(p) == target;
    target->onMouseUp(p, inside); // may delete the target: nothing after this
}

void Window::wheel(Point p, int notches) {
    if (inputBlocked()) return;
    for (Control* c = controlAt(p); c; c = c->parentControl())
        if (c->isEnabledInTree() && c->onWheel(notches)) return;
}

void Window::keyDown(Key key, KeyModifiers mods) {
    if (inputBlocked()) return;
    if (key == Key::Tab) {
        moveFocus(!mods.shift);
        return;
    }
    if (m_focus && m_focus->onKey(key, mods)) return;
    if (key == Key::Escape && !(m_onEscape && m_onEscape())) close(0);
}

bool Window::virtualKeyDown(std::uint16_t virtualKey, KeyModifiers mods) {
    if (inputBlocked() || !m_focus || !m_keyCapture) return false;
    return m_keyCapture(*m_focus, virtualKey, mods);
}

void Window::character(wchar_t c) {
    if (inputBlocked() || !m_focus) return;
    m_focus->onChar(c);
}

void Window::setFocus(Control* control) {
    if (control == m_focus) return;
    Control* old = m_focus;
    m_focus = control;
    if (old) old->onFocusChanged(false);
    if (control && m_focus == control) control->onFocusChanged(true);
    if (m_onFocusChanged) m_onFocusChanged(m_focus);
}

bool Window::activate(Button& button) {
    if (!m_open || inputBlocked() || button.window() != this || !button.isShown() || !button.isEnabledInTree())
        return false;
    const Control* overlay = findControl(kOverlayName);
    if (overlay && overlay->isShown() && !isInside(&button, overlay)) return false;
    m_activating = &button;
    setFocus(button.acceptsFocus() ? &button : nullptr); // as the press of a click moves it
    if (m_activating != &button) return false;           // a focus handler removed or hid it
    m_activating = nullptr;
    button.activate();
    return true;
}

AccessibleTree& Window::accessible() {
    if (!m_accessible) m_accessible = std::make_unique<AccessibleTree>(*this);
    return *m_accessible;
}

void Window::collectFocusable(Control* from, std::vector<Control*>& out) const {
    if (!from->visible() || !from->enabled()) return;
    if (from->acceptsFocus()) out.push_back(from);
    std::vector<Control*> kids;
    from->children(kids);
    for (Control* child : kids) collectFocusable(child, out);
}

bool Window::moveFocus(bool forward) {
    if (!m_root) return false;
    std::vector<Control*> order;
    collectFocusable(m_root.get(), order);
    if (order.empty()) return false;
    int index = -1;
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i] == m_focus) index = static_cast<int>(i);
    const int n = static_cast<int>(order.size());
    const int next = index < 0 ? (forward ? 0 : n - 1) : (index + (forward ? 1 : n - 1)) % n;
    setFocus(order[static_cast<std::size_t>(next)]);
    return true;
}

void Window::showOverlay(bool show) {
    Control* overlay = findControl(kOverlayName);
    if (!overlay && show) {
        auto* root = dynamic_cast<Container*>(m_root.get());
        if (!root) return;
        auto dim = std::make_unique<Control>(L"Control");
        dim->setName(kOverlayName);
        dim->setAttribute(L"float", L"true");
        dim->setAttribute(L"bkcolor", L"#80000000");
        overlay = root->add(std::move(dim));
    }
    if (!overlay) return;
    // The dimming layer catches every click, whatever its skin says.
    overlay->setAttribute(L"mouse", L"true");
    overlay->setVisible(show);
    if (show) {
        setHot(nullptr);
        setFocus(nullptr);
    }
}

bool Window::overlayShown() const {
    const Control* overlay = findControl(kOverlayName);
    return overlay && overlay->isShown();
}

void Window::showModal(Window& owner) {
    m_open = true;
    m_closeCode = 0;
    m_modalOwner = &owner;
    owner.m_modalChild = this;
    owner.setHot(nullptr);
    owner.m_captured = nullptr;
}

void Window::close(int code) {
    if (!m_open) return;
    m_open = false;
    m_closeCode = code;
    if (m_modalOwner && m_modalOwner->m_modalChild == this) m_modalOwner->m_modalChild = nullptr;
    m_modalOwner = nullptr;
    setHot(nullptr);
    // Copies: the owner's callback may replace either.
    const auto onClose = m_onClose;
    const auto onHostClose = m_onHostClose;
    if (onClose) onClose(code);
    if (onHostClose) onHostClose();
}

void Window::paint(Painter& painter) {
    if (m_layoutDirty) layout();
    if (m_root && m_root->visible()) m_root->paint(painter);
}

void Window::controlRemoved(Control* control) {
    if (m_accessible) m_accessible->forget(control);
    if (isInside(m_activating, control)) m_activating = nullptr;
    if (isInside(m_hot, control)) m_hot = nullptr;
    if (isInside(m_captured, control)) m_captured = nullptr;
    if (isInside(m_focus, control)) m_focus = nullptr;
    m_layoutDirty = true;
}

void Window::controlHidden(Control* control) {
    if (isInside(m_activating, control)) m_activating = nullptr;
    if (isInside(m_hot, control)) setHot(nullptr);
    if (isInside(m_captured, control)) m_captured = nullptr;
    if (isInside(m_focus, control)) setFocus(nullptr);
}

} // namespace ui
