#pragma once
// A drop-down choice: a list of items (text and tag) and the selected position (-1: none).
//
// A click opens or closes the drop-down; choosing an item closes it and sends "itemselect" (wParam the new
// position, lParam the old one) when the position changed. Up and Down move the selection of the focused
// combo. Selecting from code sends nothing unless asked. The host draws the open list; the model is here.

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Button.h"

namespace ui {

// How an item's row looks in the open list; the zero values leave the drop-down's own look.
struct ComboItemLook {
    int height = 0;           // in skin pixels
    std::wstring textPadding; // "left,top,right,bottom", as the "textpadding" attribute
};

struct ComboItem {
    std::wstring text;
    std::int64_t tag = 0;
    ComboItemLook look;
};

class Combo : public Button {
public:
    Combo() : Button(L"Combo") {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    int addItem(std::wstring_view text, std::int64_t tag = 0, ComboItemLook look = {});
    void removeAll();
    const std::vector<ComboItem>& items() const { return m_items; }
    int selectedIndex() const { return m_selected; }
    const ComboItem* selectedItem() const;
    bool selectItem(int index, bool sendNotify = false);
    // The user picks an item from the open list.
    bool chooseItem(int index);
    bool dropped() const { return m_dropped; }
    void setDropped(bool dropped) { m_dropped = dropped; }
    const std::wstring& selectedText() const;

    void activate() override;
    bool onKey(Key key, KeyModifiers mods) override;
    void onFocusChanged(bool focused) override;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Combo(*this)); }

private:
    std::vector<ComboItem> m_items;
    int m_selected = -1;
    bool m_dropped = false;
    ImageSpec m_arrowImage;
};

} // namespace ui
