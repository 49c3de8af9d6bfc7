#pragma once
// Building windows and control trees from skin XML (UTF-8).
//
//   <Window size="400,300" caption="0,0,0,40">
//     <Font id="0" name="Roboto" size="12" default="true"/>
//     <VerticalLayout bkcolor="#FF26262B"> <Button name="okBtn" text="..."/> ... </VerticalLayout>
//   </Window>
//
// A row skin has a control as its root instead of <Window>. Combo items are <ListLabelElement text tag/>
// children of their Combo. Malformed XML gives a message with its line ("skin line 3: ...") and no tree;
// an unknown class or attribute is logged and skipped, so one typo does not lose a whole window.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/ControlFactory.h"
#include "toolkit/Window.h"

namespace ui {

class SkinParser {
public:
    explicit SkinParser(const ControlFactory& factory) : m_factory(factory) {}

    // Fills `window` (root, size, caption, fonts). False, with `error` set, when the XML is malformed or has
    // no control.
    bool parseWindow(std::string_view xml, Window& window, std::wstring& error) const;
    std::unique_ptr<Control> parseControl(std::string_view xml, std::wstring& error) const;
    // The same with the root made by `makeRoot` instead of the factory (a row class deriving from the root's
    // toolkit class), so the skin's attributes and children land in the program's own object.
    std::unique_ptr<Control> parseControl(std::string_view xml, std::wstring& error,
                                          const std::function<std::unique_ptr<Control>()>& makeRoot) const;

private:
    const ControlFactory& m_factory;
};

} // namespace ui
