#pragma once
// The shared-folder size dialog: asks for the shared folder's size in gigabytes, from the size it has now up
// to 63, and hands the number to its opener. The confirm button is enabled only while the text is such a
// number. Made for one question and closed by its buttons; user-interface thread only.

#include <functional>
#include <string_view>

#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace common {

class RQFSMoreFrame {
public:
    static constexpr const wchar_t* kSkinFile = L"xml_fsmoresize.xml";
    static constexpr const wchar_t* kClassName = L"RQFSMoreFrame";
    static constexpr int kMaxSize = 63;

    // Builds the window and shows it modally over `owner` with `startSize` in its edit. False when the skin
    // does not parse (logged).
    bool show(ui::Window& owner, const ui::ControlFactory& factory, std::string_view skin, int startSize,
              std::function<void(int size)> onSize);
    ui::Window& window() { return m_window; }

private:
    void onNotify(const ui::Notify& n);
    void updateButton();

    ui::Window m_window;
    int m_startSize = 0;
    std::function<void(int)> m_onSize;
};

} // namespace common
