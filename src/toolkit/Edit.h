#pragma once
// A one-line text box: the text model the native edit window of the Win32 host mirrors.
//
// Typing inserts at the caret and sends "textchanged"; Back, Delete, Left, Right, Home and End edit and move;
// Return sends "return". Setting the text from code sends nothing (the windows run their text-changed
// handling themselves when they need it). "maxchar" limits the length, "numberonly" takes digits only,
// "readonly" refuses typing, "password" paints stars. The edit takes the focus when clicked or tabbed to.

#include "toolkit/Control.h"

namespace ui {

class Edit : public Control {
public:
    explicit Edit(std::wstring_view kind = L"Edit") : Control(kind) {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    void setText(std::wstring_view text) override;
    std::size_t caret() const { return m_caret; }
    void setCaret(std::size_t caret) { m_caret = std::min(caret, m_text.size()); }
    bool readOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    void setStateImages(std::wstring_view normal, std::wstring_view hot, std::wstring_view focused);

    bool acceptsFocus() const override { return true; }
    bool onKey(Key key, KeyModifiers mods) override;
    void onChar(wchar_t c) override;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Edit(*this)); }
    bool defaultAcceptsMouse() const override { return true; }

private:
    void changed();

    std::size_t m_caret = 0;
    std::size_t m_maxChars = 255;
    bool m_readOnly = false;
    bool m_numberOnly = false;
    bool m_password = false;
    bool m_showMarkup = false;
    ImageSpec m_normalImage;
    ImageSpec m_hotImage;
    ImageSpec m_focusedImage;
    ImageSpec m_disabledImage;
};

} // namespace ui
