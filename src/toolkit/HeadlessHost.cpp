#include "toolkit/HeadlessHost.h"

#include <utility>

namespace ui {

HeadlessHost::HeadlessHost() = default;

Window* HeadlessHost::open(std::string_view skinXml, double scale, Size client, std::wstring* error) {
    auto window = std::make_unique<Window>();
    std::wstring message;
    if (!SkinParser(m_factory).parseWindow(skinXml, *window, message)) {
        if (error) *error = message;
        return nullptr;
    }
    window->setScale(scale);
    window->setClipboard(&m_clipboard);
    window->addNotifier([this](const Notify& n) {
        m_events.push_back(std::wstring(n.type) + L":" + (n.sender ? n.sender->name() : std::wstring()));
    });
    window->resize(client.cx > 0 ? client : window->scaledInitialSize());
    m_windows.push_back(std::move(window));
    return m_windows.back().get();
}

std::unique_ptr<Control> HeadlessHost::row(std::string_view skinXml, std::wstring* error) const {
    std::wstring message;
    auto control = SkinParser(m_factory).parseControl(skinXml, message);
    if (error) *error = message;
    return control;
}

std::optional<Point> HeadlessHost::centreOf(Window& window, std::wstring_view name) const {
    if (window.layoutDirty()) window.layout();
    const Control* control = window.findControl(name);
    if (!control || !control->isShown() || control->rect().empty()) return std::nullopt;
    const Rect& r = control->rect();
    return Point{r.left + r.width() / 2, r.top + r.height() / 2};
}

bool HeadlessHost::click(Window& window, std::wstring_view name, MouseButton button) {
    const auto p = centreOf(window, name);
    if (!p) return false;
    clickAt(window, *p, button);
    return true;
}

bool HeadlessHost::hover(Window& window, std::wstring_view name) {
    const auto p = centreOf(window, name);
    if (!p) return false;
    window.mouseMove(*p);
    return true;
}

bool HeadlessHost::wheel(Window& window, std::wstring_view name, int notches) {
    const auto p = centreOf(window, name);
    if (!p) return false;
    window.wheel(*p, notches);
    return true;
}

void HeadlessHost::clickAt(Window& window, Point p, MouseButton button) {
    window.mouseMove(p);
    window.mouseDown(p, button);
    window.mouseUp(p, button);
}

void HeadlessHost::press(Window& window, Key key, KeyModifiers mods) {
    window.keyDown(key, mods);
}

bool HeadlessHost::pressVirtualKey(Window& window, std::uint16_t virtualKey, KeyModifiers mods) {
    return window.virtualKeyDown(virtualKey, mods);
}

void HeadlessHost::type(Window& window, std::wstring_view text) {
    for (const wchar_t c : text) window.character(c);
}

std::wstring HeadlessHost::text(const Window& window, std::wstring_view name) const {
    const Control* control = window.findControl(name);
    return control ? control->text() : std::wstring();
}

bool HeadlessHost::shown(const Window& window, std::wstring_view name) const {
    const Control* control = window.findControl(name);
    return control && control->isShown();
}

Rect HeadlessHost::rect(Window& window, std::wstring_view name) const {
    if (window.layoutDirty()) window.layout();
    const Control* control = window.findControl(name);
    return control ? control->rect() : Rect{};
}

std::vector<std::wstring> HeadlessHost::takeEvents() {
    return std::exchange(m_events, {});
}

} // namespace ui
