#pragma once
// Creating controls by the class names skins use.
//
// The toolkit's own classes come first; a name it does not know is asked of the custom creators that the
// program registers (the image control "RQImageControl"). Unknown names give no control.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "toolkit/Control.h"

namespace ui {

class ControlFactory {
public:
    using Creator = std::function<std::unique_ptr<Control>()>;

    std::unique_ptr<Control> create(std::wstring_view className) const;
    void registerCustom(std::wstring_view className, Creator creator);
    static bool isBuiltIn(std::wstring_view className);

private:
    std::map<std::wstring, Creator, std::less<>> m_custom;
};

} // namespace ui
