#include "toolkit/MenuWnd.h"

#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/Container.h"
#include "toolkit/ControlFactory.h"
#include "toolkit/SkinParser.h"

namespace ui {

RQMenuWnd* RQMenuWnd::s_open = nullptr;

RQMenuWnd::RQMenuWnd(std::string skin) : m_skin(std::move(skin)) {}

RQMenuWnd::~RQMenuWnd() {
    if (s_open == this) s_open = nullptr;
}

void RQMenuWnd::addItem(std::wstring text, std::wstring command, bool enabled, bool checked) {
    m_items.push_back({std::move(text), std::move(command), enabled, checked});
}

void RQMenuWnd::addSeparator() {
    m_items.push_back({L"", L"", false, false});
}

const RQMenuWnd::Item* RQMenuWnd::item(std::wstring_view command) const {
    for (const Item& entry : m_items)
        if (!command.empty() && entry.command == command) return &entry;
    return nullptr;
}

std::wstring RQMenuWnd::hotBackground(int itemWidth) {
    return L"file='menu\\item_bg_hot_multi.png' dest='5,4," + std::to_wstring(itemWidth) + L",34'";
}

bool RQMenuWnd::popup(Point at, double scale, Callback callback) {
    if (s_open && s_open != this) s_open->close();
    if (!build(scale)) return false;
    m_callback = std::move(callback);
    m_position = at;
    s_open = this;
    return true;
}

void RQMenuWnd::close() {
    if (s_open != this) return;
    s_open = nullptr;
    if (m_window) m_window->close(0);
}

bool RQMenuWnd::choose(std::wstring_view command) {
    const Item* chosen = isOpen() ? item(command) : nullptr;
    if (!chosen || !chosen->enabled) return false;
    // Copies: the callback may destroy this menu.
    const Callback callback = m_callback;
    const std::wstring key = chosen->command;
    close();
    if (callback) callback(key);
    return true;
}

bool RQMenuWnd::build(double scale) {
    auto window = std::make_unique<Window>();
    std::wstring error;
    if (!SkinParser(ControlFactory{}).parseWindow(m_skin, *window, error)) {
        KVLOG(L"menu skin: %s", error);
        return false;
    }
    auto* layout = window->find<Container>(L"menuLayout");
    auto* itemPattern = window->find<Button>(L"menuItem");
    Control* separatorPattern = window->findControl(L"setperater");
    if (!layout || !itemPattern || !separatorPattern) {
        KVLOG(L"menu skin lacks menuLayout, menuItem or setperater");
        return false;
    }
    const std::unique_ptr<Control> itemCopy = layout->take(itemPattern);
    const std::unique_ptr<Control> separatorCopy = layout->take(separatorPattern);
    const int width = window->initialSize().cx;
    int height = layout->padding().top + layout->padding().bottom;
    for (const Item& item : m_items) {
        std::unique_ptr<Control> entry = item.command.empty() ? separatorCopy->clone() : itemCopy->clone();
        height += entry->fixedHeight();
        if (!item.command.empty()) {
            entry->setName(item.command);
            entry->setText(item.text);
            entry->setAttribute(L"hotimage", hotBackground(width - 5));
            if (item.checked) entry->setAttribute(L"foreimage", L"file='menu/check.png' dest='160,11,176,27'");
            entry->setEnabled(item.enabled);
        }
        layout->add(std::move(entry));
    }
    // The window being replaced may be the one whose notification opened this menu again: keep it alive
    // until the next build.
    m_retired = std::move(m_window);
    m_window = std::move(window);
    m_window->setKind(WindowKind::Menu);
    m_window->setInitialSize({width, height});
    m_window->setScale(scale);
    m_window->addNotifier([this](const Notify& n) {
        if (n.type == events::kClick && n.sender) choose(n.sender->name());
    });
    m_window->setOnEscape([this] {
        close();
        return true;
    });
    m_window->resize(m_window->scaledInitialSize());
    return true;
}

} // namespace ui
