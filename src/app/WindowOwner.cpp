#include "app/WindowOwner.h"

namespace app {

bool WindowOwner::showMainWindow(const WindowFactory& create) {
    if (!m_main && create) m_main = create();
    if (m_main) m_main->bringToFront();
    return true;
}

void WindowOwner::mainWindowGone() {
    m_dialogs.clear(); // they are shown over the main window and go with it
    m_main.reset();
}

void WindowOwner::closeMainWindow() {
    if (m_main) m_main->requestClose();
}

void WindowOwner::destroyMainWindow() {
    // Taken out first: the window's end calls mainWindowGone while destroy still runs.
    const std::unique_ptr<TopLevelWindow> main = std::move(m_main);
    mainWindowGone();
    if (main) main->destroy();
}

TopLevelWindow* WindowOwner::dialog(std::wstring_view name, const WindowFactory& create) {
    if (const auto it = m_dialogs.find(name); it != m_dialogs.end()) return it->second.get();
    std::unique_ptr<TopLevelWindow> made = create ? create() : nullptr;
    if (!made) return nullptr;
    return m_dialogs.emplace(std::wstring(name), std::move(made)).first->second.get();
}

void WindowOwner::dialogGone(std::wstring_view name) {
    if (const auto it = m_dialogs.find(name); it != m_dialogs.end()) m_dialogs.erase(it);
}

void WindowOwner::showAll(bool shown) {
    if (m_main) m_main->setShown(shown);
    m_groupControls.showAll(shown);
}

} // namespace app
