#pragma once
// RQMenuWnd: a popup menu of items (text, command key, enabled, checked) and separators.
//
// Only one menu is open at a time: opening one closes the one before. Choosing an enabled item closes the
// menu and then calls the callback with the item's command key; disabled items and separators do nothing.
// The menu is built from its skin ("xml_menu_mul.xml"): the skin's "menuLayout" holds one pattern item
// ("menuItem") and one separator ("setperater"), copied once per entry; an item's copy is named by its command
// key, so a host paints and drives the menu like any window. The hovered item's background is
// "file='menu\item_bg_hot_multi.png' dest='5,4,W,34'" with W the item width. A callback may reopen the menu
// but must not destroy it: the menu's window is still on the stack.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/Window.h"

namespace ui {

class RQMenuWnd {
public:
    using Callback = std::function<void(const std::wstring& command)>;

    static constexpr const wchar_t* kSkinFile = L"xml_menu_mul.xml";

    struct Item {
        std::wstring text;
        std::wstring command; // empty for a separator
        bool enabled = true;
        bool checked = false;
    };

    // `skin` is the text of kSkinFile, parsed when the menu opens.
    explicit RQMenuWnd(std::string skin);
    ~RQMenuWnd();
    RQMenuWnd(const RQMenuWnd&) = delete;
    RQMenuWnd& operator=(const RQMenuWnd&) = delete;

    void addItem(std::wstring text, std::wstring command, bool enabled = true, bool checked = false);
    void addSeparator();
    const std::vector<Item>& items() const { return m_items; }
    const Item* item(std::wstring_view command) const;

    // Opens at `at` (screen pixels) at display factor `scale`. False, with nothing open, when the skin does
    // not parse or lacks its patterns (logged).
    bool popup(Point at, double scale, Callback callback);
    void close();
    bool isOpen() const { return s_open == this; }
    static RQMenuWnd* openMenu() { return s_open; }
    Point position() const { return m_position; }

    // The user picks the item with this command key; false when there is none or it is disabled.
    bool choose(std::wstring_view command);
    Window* window() const { return m_window.get(); }

    static std::wstring hotBackground(int itemWidth);

private:
    bool build(double scale);

    std::string m_skin;
    std::vector<Item> m_items;
    Callback m_callback;
    Point m_position;
    std::unique_ptr<Window> m_window;
    std::unique_ptr<Window> m_retired;
    static RQMenuWnd* s_open; // UI thread only
};

} // namespace ui
