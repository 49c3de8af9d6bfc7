#pragma once
// RQImageControl: a control showing one picture file, stretched or fitted into its rectangle keeping the
// picture's aspect ratio (scale="fit"), centred. The windows create it through the custom control factory;
// the fitting arithmetic is here so every host places the picture the same way.

#include "toolkit/Control.h"

namespace ui {

class RQImageControl : public Control {
public:
    static constexpr std::wstring_view kClassName = L"RQImageControl";

    RQImageControl() : Control(kClassName) {}

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    void setImageFile(std::wstring_view file);
    const ImageSpec& image() const { return m_image; }
    // Where a picture of `picture` pixels goes inside the control.
    Rect placement(Size picture) const;
    // Painting needs the picture's size; the host tells it once the picture is loaded.
    void setPictureSize(Size size) { m_pictureSize = size; }
    void paint(Painter& painter) const override;

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new RQImageControl(*this)); }

private:
    ImageSpec m_image;
    bool m_fit = false;
    Size m_pictureSize;
};

} // namespace ui
