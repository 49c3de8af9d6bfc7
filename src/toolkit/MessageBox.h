#pragma once
// The message box every confirmation and notice uses: a modal window over another one with a title, a
// centred multi-line text, an icon chosen by the box type, one or two buttons, an optional link button and
// an optional "do not ask again" check box.
//
// A button closes the box first and then runs its callback, so a callback may open the next box. Every way
// of closing (a button, the close button, Escape) runs the close callback once; the windows use it to hide
// their dimming layer. The box never shows the dimming layer itself.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace msg {

// The skin the box is built from when the caller gives none.
extern const std::string_view kMessageBoxSkin;

class MessageBoxWindow {
public:
    // Types 0 to 2 are notices, 3 is a success.
    MessageBoxWindow(int type, std::wstring title, std::wstring text);
    ~MessageBoxWindow();

    static std::wstring_view iconFor(int type);

    void addButton(std::wstring text, std::function<void()> onClick);
    void setLink(std::wstring text, std::function<void()> onClick);
    void setNoMorePrompt(std::wstring text);
    bool noMorePrompt() const;
    void setOnClose(std::function<void()> onClose) { m_onClose = std::move(onClose); }

    // Builds the window and shows it modally over `owner`. False when the skin does not parse (logged).
    bool show(ui::Window& owner, const ui::ControlFactory& factory, std::string_view skin = kMessageBoxSkin);
    ui::Window* window() const { return m_window.get(); }
    bool isOpen() const { return m_window && m_window->isOpen(); }

private:
    struct Action {
        std::wstring text;
        std::function<void()> onClick;
    };
    void build();
    void press(const std::function<void()>& onClick);

    int m_type;
    std::wstring m_title;
    std::wstring m_text;
    std::vector<Action> m_buttons;
    std::optional<Action> m_link;
    std::wstring m_noMorePromptText;
    std::function<void()> m_onClose;
    std::unique_ptr<ui::Window> m_window;
};

} // namespace msg
