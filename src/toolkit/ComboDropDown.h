#pragma once
// The open list of a combo as a window of its own: one button per item (named "comboitem<i>", the selected
// one marked), as wide as the combo, at most eight rows high with the rest scrolling. Choosing an item
// selects it in the combo (which sends "itemselect") and closes the list; closing it any other way (Escape,
// the host's deactivation) only folds the combo up again.

#include <memory>

#include "toolkit/Combo.h"
#include "toolkit/Window.h"

namespace ui {

class ComboDropDown {
public:
    static constexpr int kItemHeight = 28;
    static constexpr int kMaxVisibleItems = 8;

    // The combo must outlive the drop-down.
    explicit ComboDropDown(Combo& combo);
    Window& window() { return m_window; }
    Combo& combo() { return m_combo; }
    bool choose(int index);

private:
    Combo& m_combo;
    Window m_window;
};

} // namespace ui
