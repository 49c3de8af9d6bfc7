#include "toolkit/MenuWnd.h"

#include "toolkit/Button.h"

namespace ui {

RQMenuWnd* RQMenuWnd::s_open = nullptr;

RQMenuWnd::~RQMenuWnd() {
    if (s_open == this) s_open = nullptr;
}

void RQMenuWnd::addItem(std::wstring text, std::wstring command, bool enabled, bool checked) {
    m_items.push_back({std::move(text), std::move(command), enabled, checked});
}

void RQMenuWnd::addSeparator() {
    m_items.push_back({L"", L"", false, false});
}

std::wstring RQMenuWnd::hotBackground(int itemWidth) {
    return L"file='menu\\item_bg_hot_multi.png' dest='5,4," + std::to_wstring(itemWidth) + L",34'";
}

void RQMenuWnd::popup(Point at, double scale, Callback callback) {
    if (s_open && s_open != this) s_open->close();
    m_callback = std::move(callback);
    m_position = at;
    build(scale);
    s_open = this;
}

void RQMenuWnd::close() {
    if (s_open != this) return;
    s_open = nullptr;
    if (m_window) m_window->close(0);
}

bool RQMenuWnd::choose(std::wstring_view command) {
    if (!isOpen() || command.empty()) return false;
    for (const Item& item : m_items) {
        if (item.command != command) continue;
        if (!item.enabled) return false;
        // Copies: the callback may destroy this menu.
        const Callback callback = m_callback;
        const std::wstring key = item.command;
        close();
        if (callback) callback(key);
        return true;
    }
    return false;
}

void RQMenuWnd::build(double scale) {
    // The window being replaced may be the one whose notification opened this menu again: keep it alive
    // until the next build.
    m_retired = std::move(m_window);
    m_window = std::make_unique<Window>();
    m_window->setKind(WindowKind::Menu);
    auto root = std::make_unique<VerticalLayout>();
    root->setName(L"menuLayout");
    root->setAttribute(L"bkimage", L"file='menu/menu_bg.png' corner='8,8,8,8'");
    root->setAttribute(L"padding", L"0,4,0,4");
    int height = 8;
    for (const Item& item : m_items) {
        if (item.command.empty()) {
            auto separator = std::make_unique<Control>();
            separator->setName(L"setperater");
            separator->setFixedHeight(kSeparatorHeight);
            separator->setAttribute(L"bkimage", L"file='menu/separator.png' dest='12,4,168,5'");
            root->add(std::move(separator));
            height += kSeparatorHeight;
            continue;
        }
        auto button = std::make_unique<Button>();
        button->setName(item.command);
        button->setText(item.text);
        button->setFixedHeight(kItemHeight);
        button->setAttribute(L"textpadding", L"20,0,12,0");
        button->setAttribute(L"hotimage", hotBackground(kWidth - 5));
        button->setTextColor(item.enabled ? 0xFFE6E6E8 : 0xFF696972);
        if (item.checked) button->setForeImage(L"file='menu/check.png' dest='160,11,176,27'");
        button->setEnabled(item.enabled);
        root->add(std::move(button));
        height += kItemHeight;
    }
    m_window->setRoot(std::move(root));
    m_window->setInitialSize({kWidth, height});
    m_window->setScale(scale);
    m_window->addNotifier([this](const Notify& n) {
        if (n.type == events::kClick && n.sender) choose(n.sender->name());
    });
    m_window->setOnEscape([this] {
        close();
        return true;
    });
    m_window->resize(m_window->scaledInitialSize());
}

} // namespace ui
