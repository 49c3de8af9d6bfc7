#pragma once
// A one-line text box: the name of an instance renamed in place, the search box.
//
// The caret and an anchor make the selection. Typing or pasting replaces the selection and sends one
// "textchanged"; Shift with Left, Right, Home or End extends it, Ctrl+A selects all, Ctrl with Left or Right
// moves by word; Ctrl+C, Ctrl+X and Ctrl+V go through the window's clipboard; Return sends "return". Setting
// the text from code sends nothing (the windows run their text-changed handling themselves when they need it)
// and leaves the caret at the end. "maxchar" limits the length, "numberonly" takes digits only, "readonly"
// refuses changes, "password" shows stars and lets nothing be copied out.
//
// A click places the caret at the nearest character boundary, dragging selects, a double click selects all;
// the focus gained any other way (Tab, code) selects all. Text wider than the box scrolls so the caret stays
// in view; the caret and the selection ("selectedcolor") are painted only while the edit has the focus.

#include <algorithm>
#include <utility>

#include "toolkit/Control.h"

namespace ui {

class Edit : public Control {
public:
    explicit Edit(std::wstring_view kind = L"Edit") : Control(kind) {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    void setText(std::wstring_view text) override;
    std::size_t caret() const { return m_caret; }
    void setCaret(std::size_t caret) { select(caret, caret); }
    // The selected range [first, second), empty when nothing is selected.
    std::pair<std::size_t, std::size_t> selection() const { return std::minmax(m_anchor, m_caret); }
    void select(std::size_t anchor, std::size_t caret);
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool password() const { return m_password; }
    void setStateImages(std::wstring_view normal, std::wstring_view hot, std::wstring_view focused);
    // Pixels the text is scrolled left by to keep the caret in view.
    int scrollOffset() const { return m_scroll; }

    bool acceptsFocus() const override { return true; }
    bool onKey(Key key, KeyModifiers mods) override;
    void onChar(wchar_t c) override;
    void onMouseDown(Point p, MouseButton button) override;
    void onDoubleClick(Point p) override;
    void onMouseDrag(Point p) override;
    void onFocusChanged(bool focused) override;
    void arrange(const Rect& rect, double scale) override;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Edit(*this)); }
    bool defaultAcceptsMouse() const override { return true; }

private:
    // Editing (Edit.cpp).
    bool command(Key key, bool shift);
    void moveCaret(std::size_t to, bool extend);
    std::size_t wordBoundary(bool forward) const;
    // The caret position one character before or after `i`: a character outside the basic plane (most emoji)
    // is two UTF-16 units on Windows, and the caret never stands between them.
    bool insidePair(std::size_t i) const { return i > 0 && i < m_text.size() && isLowSurrogate(m_text[i]); }
    static bool isLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
    std::size_t stepBack(std::size_t i) const { return i == 0 ? 0 : i - 1 - (insidePair(i - 1) ? 1 : 0); }
    std::size_t stepForward(std::size_t i) const {
        return i >= m_text.size() ? m_text.size() : i + 1 + (insidePair(i + 1) ? 1 : 0);
    }
    bool replaceSelection(std::wstring_view with);
    std::wstring accepted(std::wstring_view input) const;
    void copySelection();

    // Geometry (EditView.cpp).
    std::wstring shownText() const;
    int widthOf(std::size_t count) const;
    Rect textArea() const;
    int textLeft() const;
    int caretWidth() const;
    std::size_t boundaryAt(int x) const;
    void scrollToCaret();

    std::size_t m_caret = 0;
    std::size_t m_anchor = 0;
    int m_scroll = 0;
    std::size_t m_maxChars = 255;
    bool m_readOnly = false;
    bool m_numberOnly = false;
    bool m_password = false;
    bool m_showMarkup = false;
    Argb m_selectedColor = 0xFF2E6E5A;
    ImageSpec m_normalImage;
    ImageSpec m_hotImage;
    ImageSpec m_focusedImage;
    ImageSpec m_disabledImage;
};

} // namespace ui
