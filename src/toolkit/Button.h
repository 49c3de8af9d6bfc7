#pragma once
// Buttons and options.
//
// Button: images and text colours for the normal, hot, pushed and disabled states; "click" when released over
// itself, "btnmouseenter"/"btnmouseleave" as the mouse comes and goes, "rightbuttondown" on a right press.
// Return or Space clicks the focused button.
// Option: a button that stays selected. Options sharing a "group" in one window are radio buttons (selecting
// one clears the others; a click never clears the selected one); without a group it is a check box. A click
// sends "selectchanged" for every option whose state changed, then "click" (handlers see the new state).

#include <string_view>

#include "toolkit/Control.h"

namespace ui {

class Button : public Control {
public:
    explicit Button(std::wstring_view kind = L"Button") : Control(kind) {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    void setStateImages(std::wstring_view normal, std::wstring_view hot, std::wstring_view pushed);
    const ImageSpec& normalImage() const { return m_normalImage; }
    const ImageSpec& hotImage() const { return m_hotImage; }
    const ImageSpec& pushedImage() const { return m_pushedImage; }
    void setForeImage(std::wstring_view spec) { m_foreImage = parseImageSpec(spec); }
    // The image the current state shows.
    virtual const ImageSpec& stateImage() const;
    Argb stateTextColor() const;

    bool acceptsFocus() const override { return m_keyboard; }
    void onMouseEnter() override;
    void onMouseLeave() override;
    void onMouseDown(Point p, MouseButton button) override;
    void onMouseUp(Point p, bool inside) override;
    bool onKey(Key key, KeyModifiers mods) override;
    void paint(Painter& painter) const override;

    // What a click does: notifies "click" (options also change their state).
    virtual void activate();

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Button(*this)); }
    bool defaultAcceptsMouse() const override { return true; }

    ImageSpec m_normalImage;
    ImageSpec m_hotImage;
    ImageSpec m_pushedImage;
    ImageSpec m_disabledImage;
    ImageSpec m_foreImage;
    std::optional<Argb> m_hotTextColor;
    std::optional<Argb> m_pushedTextColor;
    bool m_keyboard = true;
};

class Option : public Button {
public:
    explicit Option(std::wstring_view kind = L"Option") : Button(kind) {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    const std::wstring& group() const { return m_group; }
    bool selected() const { return m_selected; }
    // Changes the state; `sendNotify` false changes it silently (a row toggled by its background button).
    void setSelected(bool selected, bool sendNotify = true);
    void setSelectedImage(std::wstring_view spec) { m_selectedImage = parseImageSpec(spec); }
    const ImageSpec& stateImage() const override;
    void activate() override;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Option(*this)); }

private:
    std::wstring m_group;
    bool m_selected = false;
    ImageSpec m_selectedImage;
    ImageSpec m_selectedHotImage;
    std::optional<Argb> m_selectedTextColor;
};

} // namespace ui
