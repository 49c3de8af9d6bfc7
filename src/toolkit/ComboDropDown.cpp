#include "toolkit/ComboDropDown.h"

#include <algorithm>
#include <string>

#include "toolkit/List.h"

namespace ui {

ComboDropDown::ComboDropDown(Combo& combo) : m_combo(combo) {
    auto list = std::make_unique<List>();
    list->setName(L"comboList");
    list->setAttribute(L"bkimage", L"file='menu/menu_bg.png' corner='8,8,8,8'");
    list->setAttribute(L"padding", L"2,2,2,2");
    list->setAttribute(L"scrollstep", std::to_wstring(kItemHeight));
    list->setAttribute(L"vscrollbar", L"true");
    const auto& items = combo.items();
    int visibleHeight = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ComboItemLook& look = items[i].look;
        const int height = look.height > 0 ? look.height : kItemHeight;
        if (i < static_cast<std::size_t>(kMaxVisibleItems)) visibleHeight += height;
        auto button = std::make_unique<Button>();
        button->setName(L"comboitem" + std::to_wstring(i));
        button->setTag(static_cast<std::int64_t>(i));
        button->setText(items[i].text);
        button->setFixedHeight(height);
        button->setAttribute(L"textpadding", look.textPadding.empty() ? L"10,0,10,0" : look.textPadding);
        button->setAttribute(L"hotimage", L"file='menu/item_bg_hot_multi.png' corner='4,4,4,4'");
        button->setTextColor(static_cast<int>(i) == combo.selectedIndex() ? 0xFF2EE5A8 : 0xFFE6E6E8);
        list->add(std::move(button));
    }
    if (items.empty()) visibleHeight = kItemHeight;
    m_window.setRoot(std::move(list));
    // The combo's width in skin pixels, so the list scales with its owner.
    const double scale = combo.window() ? combo.window()->scale() : 1.0;
    m_window.setInitialSize({static_cast<int>(combo.rect().width() / scale), visibleHeight + 4});
    m_window.setScale(scale);
    m_window.addNotifier([this](const Notify& n) {
        if (n.type == events::kClick && n.sender) choose(static_cast<int>(n.sender->tag()));
    });
    m_window.setOnClose([this](int) { m_combo.setDropped(false); });
    m_window.resize(m_window.scaledInitialSize());
}

bool ComboDropDown::choose(int index) {
    if (index < 0 || index >= static_cast<int>(m_combo.items().size())) return false;
    m_window.close(1);
    return m_combo.chooseItem(index); // last: the handler of "itemselect" may close the owner
}

} // namespace ui
