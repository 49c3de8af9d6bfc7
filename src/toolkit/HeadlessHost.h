#pragma once
// A host without pixels, so window logic can be tested: it loads skins from strings, lays windows out at
// their skin size (or a given one) and display scale, drives them by control name or position the way a
// user would (move, press, release), and reads back text, visibility and rectangles. Every notification is
// recorded as "type:sender".

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Clipboard.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinParser.h"
#include "toolkit/Window.h"

namespace ui {

class HeadlessHost {
public:
    HeadlessHost();
    ControlFactory& factory() { return m_factory; }
    // The clipboard every window of this host shares.
    Clipboard& clipboard() { return m_clipboard; }

    // Null, with `error` set, when the skin does not parse. A client size of {0,0} takes the skin's size.
    Window* open(std::string_view skinXml, double scale = 1.0, Size client = {}, std::wstring* error = nullptr);
    std::unique_ptr<Control> row(std::string_view skinXml, std::wstring* error = nullptr) const;

    // Gestures on the named control's centre; false when the control is missing or not shown.
    bool click(Window& window, std::wstring_view name, MouseButton button = MouseButton::Left);
    bool hover(Window& window, std::wstring_view name);
    bool wheel(Window& window, std::wstring_view name, int notches);
    void clickAt(Window& window, Point p, MouseButton button = MouseButton::Left);
    void press(Window& window, Key key, KeyModifiers mods = {});
    // A press by virtual-key code: the key capture first, as the native host offers it.
    bool pressVirtualKey(Window& window, std::uint16_t virtualKey, KeyModifiers mods = {});
    void type(Window& window, std::wstring_view text);

    // Read-back; empty results for a missing control.
    std::wstring text(const Window& window, std::wstring_view name) const;
    bool shown(const Window& window, std::wstring_view name) const;
    Rect rect(Window& window, std::wstring_view name) const;

    // "type:sender" of every notification since the last call.
    std::vector<std::wstring> takeEvents();

private:
    std::optional<Point> centreOf(Window& window, std::wstring_view name) const;

    ControlFactory m_factory;
    MemoryClipboard m_clipboard;
    std::vector<std::unique_ptr<Window>> m_windows;
    std::vector<std::wstring> m_events;
};

} // namespace ui
