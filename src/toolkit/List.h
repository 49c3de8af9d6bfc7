#pragma once
// A scrolling vertical list of rows, and the row element itself.
//
// Rows keep their own heights (a row without one is as high as the list); the content scrolls in whole
// pixels between 0 and content height less the visible height, and everything outside the visible part
// neither paints nor takes clicks. The wheel scrolls "scrollstep" skin pixels a notch (60: one row of the
// main list). With vscrollbar="true" a thumb of at least 20 pixels is drawn at the right edge, and the rows
// leave room for it while there is something to scroll.

#include "toolkit/Container.h"

namespace ui {

class List : public VerticalLayout {
public:
    List() : VerticalLayout(L"List") {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    int scrollPos() const { return m_scroll; }
    int scrollRange() const { return std::max(0, m_content - m_viewport); }
    void setScrollPos(int pos);
    void scrollToEnd() { setScrollPos(m_content); }
    int contentHeight() const { return m_content; }
    // The thumb of the scroll bar; empty when everything fits.
    Rect scrollThumb() const;

    bool onWheel(int notches) override;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new List(*this)); }
    void layoutChildren(const Rect& inner, double scale) override;
    bool defaultAcceptsMouse() const override { return true; }

private:
    int m_scroll = 0;
    int m_content = 0;
    int m_viewport = 0;
    int m_scrollStep = 60;
    bool m_scrollBar = false;
    Rect m_inner;
    ImageSpec m_thumbImage;
    Argb m_thumbColor = 0x66FFFFFF;
};

// One row of a list: a horizontal layout that the windows fill from a row skin.
class ListContainerElement : public HorizontalLayout {
public:
    ListContainerElement() : HorizontalLayout(L"ListContainerElement") {}

protected:
    std::unique_ptr<Control> cloneSelf() const override {
        return std::unique_ptr<Control>(new ListContainerElement(*this));
    }
};

} // namespace ui
