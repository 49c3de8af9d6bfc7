#include "toolkit/MessageBox.h"

#include "core/log/Log.h"
#include "toolkit/Button.h"
#include "toolkit/SkinParser.h"

namespace msg {

const std::string_view kMessageBoxSkin = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="400,220" caption="0,0,0,40">
  <VerticalLayout bkimage="file='common/dialog_bg.png' corner='12,12,12,12'" padding="20,12,20,16">
    <HorizontalLayout height="28">
      <Label name="titlelabel" textcolor="#FFFFFFFF" font="1"/>
      <Button name="closebtn" width="24" height="24" normalimage="common/close_normal.png" hotimage="common/close_hover.png"/>
    </HorizontalLayout>
    <HorizontalLayout childpadding="12" padding="0,12,0,0">
      <Control name="msgiconimage" width="48" height="48"/>
      <VerticalLayout>
        <Label name="descriptlabel" multiline="true" align="center" textcolor="#FFC0C0C3"/>
        <Button name="linkBtn" height="20" visible="false" textcolor="#FF2EE5A8"/>
        <Option name="noMorePromptOpt" height="20" visible="false" textcolor="#FFBFBFC3" textpadding="22,0,0,0"
                normalimage="file='common9/checkbox_normal.png' dest='0,2,16,18'"
                selectedimage="file='common9/checkbox_selected.png' dest='0,2,16,18'"/>
      </VerticalLayout>
    </HorizontalLayout>
    <HorizontalLayout name="bottombar" height="34" childpadding="12" childalign="right"/>
  </VerticalLayout>
</Window>)";

namespace {

// Buttons of the bottom bar: the last one is the default action and carries the accent look.
std::unique_ptr<ui::Button> makeButton(std::wstring_view name, std::wstring_view text, bool accent) {
    auto button = std::make_unique<ui::Button>();
    button->setName(name);
    button->setText(text);
    button->setFixedWidth(96);
    button->setAttribute(L"align", L"center");
    button->setTextColor(ui::kWhite);
    if (accent)
        button->setStateImages(L"file='common9/btn_accent_normal.png' corner='6,6,6,6'",
                               L"file='common9/btn_accent_hover.png' corner='6,6,6,6'",
                               L"file='common9/btn_accent_pushed.png' corner='6,6,6,6'");
    else
        button->setStateImages(L"file='common9/btn_normal.png' corner='6,6,6,6'",
                               L"file='common9/btn_hover.png' corner='6,6,6,6'",
                               L"file='common9/btn_pushed.png' corner='6,6,6,6'");
    return button;
}

} // namespace

MessageBoxWindow::MessageBoxWindow(int type, std::wstring title, std::wstring text)
    : m_type(type), m_title(std::move(title)), m_text(std::move(text)) {}

MessageBoxWindow::~MessageBoxWindow() {
    if (m_window) m_window->setOnClose(nullptr);
}

std::wstring_view MessageBoxWindow::iconFor(int type) {
    return type == 3 ? L"common/msg_ok48.png" : L"common/msg_noice48.png";
}

void MessageBoxWindow::addButton(std::wstring text, std::function<void()> onClick) {
    if (m_buttons.size() >= 2) {
        KVLOG(L"message box takes two buttons; %s dropped", text);
        return;
    }
    m_buttons.push_back({std::move(text), std::move(onClick)});
}

void MessageBoxWindow::setLink(std::wstring text, std::function<void()> onClick) {
    m_link = Action{std::move(text), std::move(onClick)};
}

void MessageBoxWindow::setNoMorePrompt(std::wstring text) {
    m_noMorePromptText = std::move(text);
}

bool MessageBoxWindow::noMorePrompt() const {
    const auto* option = m_window ? m_window->find<ui::Option>(L"noMorePromptOpt") : nullptr;
    return option && option->selected();
}

bool MessageBoxWindow::show(ui::Window& owner, const ui::ControlFactory& factory, std::string_view skin) {
    auto window = std::make_unique<ui::Window>();
    std::wstring error;
    if (!ui::SkinParser(factory).parseWindow(skin, *window, error)) {
        KVLOG(L"message box skin: %s", error);
        return false;
    }
    m_window = std::move(window);
    m_window->setKind(ui::WindowKind::Dialog);
    m_window->setTitle(m_title);
    build();
    m_window->setScale(owner.scale());
    m_window->resize(m_window->scaledInitialSize());
    m_window->showModal(owner);
    return true;
}

void MessageBoxWindow::build() {
    ui::Window& w = *m_window;
    if (auto* title = w.findControl(L"titlelabel")) title->setText(m_title);
    if (auto* text = w.findControl(L"descriptlabel")) text->setText(m_text);
    if (auto* icon = w.findControl(L"msgiconimage")) icon->setBkImage(iconFor(m_type));
    if (auto* bar = dynamic_cast<ui::Container*>(w.findControl(L"bottombar"))) {
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            const bool last = i + 1 == m_buttons.size();
            bar->add(makeButton(L"msgbtn" + std::to_wstring(i), m_buttons[i].text, last));
        }
    }
    if (auto* link = w.findControl(L"linkBtn"); link && m_link) {
        link->setText(m_link->text);
        link->setVisible(true);
    }
    if (auto* option = w.findControl(L"noMorePromptOpt"); option && !m_noMorePromptText.empty()) {
        option->setText(m_noMorePromptText);
        option->setVisible(true);
    }
    w.setOnClose([this](int) {
        if (m_onClose) m_onClose();
    });
    w.addNotifier([this](const ui::Notify& n) {
        if (n.type != ui::events::kClick || !n.sender) return;
        const std::wstring& name = n.sender->name();
        if (name == L"closebtn") {
            m_window->close(0);
        } else if (name == L"linkBtn" && m_link) {
            press(m_link->onClick);
        } else if (name.starts_with(L"msgbtn")) {
            const std::size_t index = name.back() == L'1' ? 1 : 0;
            if (index < m_buttons.size()) press(m_buttons[index].onClick);
        }
    });
}

void MessageBoxWindow::press(const std::function<void()>& onClick) {
    // Copy first: closing may let the owner destroy this box.
    const std::function<void()> action = onClick;
    m_window->close(1);
    if (action) action();
}

} // namespace msg
