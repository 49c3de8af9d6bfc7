#pragma once
// Horizontal value controls.
//
// Progress: a value between min and max shown as the filled part of the bar ("foreimage" stretched over it).
// Slider: a progress bar with a thumb the user drags or moves with Left and Right (by "step"); it sends
// "valuechanged" (wParam the value) when a drag ends on another value or a key moved it. Values set from
// code are clamped and send nothing.

#include "toolkit/Control.h"

namespace ui {

class Progress : public Control {
public:
    explicit Progress(std::wstring_view kind = L"Progress") : Control(kind) {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    int value() const { return m_value; }
    void setRange(int min, int max);
    void setValue(int value);
    // The filled part of the bar.
    Rect filledRect() const;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Progress(*this)); }
    int m_min = 0;
    int m_max = 100;
    int m_value = 0;
    ImageSpec m_foreImage;
    std::optional<Argb> m_foreColor;
};

class Slider : public Progress {
public:
    Slider() : Progress(L"Slider") {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    Rect thumbRect() const;
    // The value a press at x means.
    int valueAt(int x) const;

    bool acceptsFocus() const override { return true; }
    void onMouseDown(Point p, MouseButton button) override;
    void onMouseDrag(Point p) override;
    void onMouseUp(Point p, bool inside) override;
    bool onKey(Key key, KeyModifiers mods) override;
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Slider(*this)); }
    bool defaultAcceptsMouse() const override { return true; }

private:
    int m_step = 1;
    Size m_thumbSize{10, 10};
    ImageSpec m_thumbImage;
    ImageSpec m_thumbHotImage;
    int m_pressValue = 0;
};

} // namespace ui
