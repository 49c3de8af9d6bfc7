#pragma once
// The tooltip of one toolkit window, told by the host which text applies under the mouse. A new text shows
// after the system's hover delay just below the cursor, another text replaces a shown one at once, no text
// puts it away; after a click it stays away until the text changes.
//
// A common-controls tooltip in tracking mode, timed and placed from here: its own hover logic goes by the real
// cursor and tool rectangles, not by the toolkit's hit testing. The window is made for the first text (menus
// and lists never need one) and dies with its owner.

#include <windows.h>

#include <string>
#include <string_view>

namespace ui::win32 {

class Tooltip {
public:
    // `maxWidth`: pixels after which a tip wraps.
    Tooltip(HWND owner, int maxWidth) : m_owner(owner), m_maxWidth(maxWidth) {}
    ~Tooltip();
    Tooltip(const Tooltip&) = delete;
    Tooltip& operator=(const Tooltip&) = delete;

    // The text that applies with the cursor at `screen`; empty for none.
    void hover(std::wstring_view text, POINT screen);
    // A click: the tip goes until the text under the mouse changes.
    void dismiss();
    // The mouse left or the window hides: the tip goes and its text is forgotten.
    void reset() {
        dismiss();
        m_text.clear();
    }

private:
    static void CALLBACK onDelay(HWND tip, UINT, UINT_PTR self, DWORD);
    bool ensureWindow();
    void show();

    HWND m_owner;
    int m_maxWidth;
    HWND m_tip = nullptr;
    std::wstring m_text;
    POINT m_at{};
    bool m_shown = false;
};

} // namespace ui::win32
