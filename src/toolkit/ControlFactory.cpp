#include "toolkit/ControlFactory.h"

#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/Edit.h"
#include "toolkit/List.h"
#include "toolkit/Slider.h"

namespace ui {

namespace {

std::unique_ptr<Control> createBuiltIn(std::wstring_view name) {
    if (name == L"Control" || name == L"Label" || name == L"Text") return std::make_unique<Control>(name);
    if (name == L"Button") return std::make_unique<Button>();
    if (name == L"Option" || name == L"CheckBox") return std::make_unique<Option>(name);
    if (name == L"Edit" || name == L"RichEdit") return std::make_unique<Edit>(name);
    if (name == L"Combo") return std::make_unique<Combo>();
    if (name == L"List") return std::make_unique<List>();
    if (name == L"ListContainerElement") return std::make_unique<ListContainerElement>();
    if (name == L"Container") return std::make_unique<Container>();
    if (name == L"VerticalLayout") return std::make_unique<VerticalLayout>();
    if (name == L"HorizontalLayout") return std::make_unique<HorizontalLayout>();
    if (name == L"TabLayout") return std::make_unique<TabLayout>();
    if (name == L"Slider") return std::make_unique<Slider>();
    if (name == L"Progress") return std::make_unique<Progress>();
    return nullptr;
}

} // namespace

bool ControlFactory::isBuiltIn(std::wstring_view className) {
    return createBuiltIn(className) != nullptr;
}

std::unique_ptr<Control> ControlFactory::create(std::wstring_view className) const {
    if (auto control = createBuiltIn(className)) return control;
    const auto it = m_custom.find(className);
    return it != m_custom.end() ? it->second() : nullptr;
}

void ControlFactory::registerCustom(std::wstring_view className, Creator creator) {
    m_custom[std::wstring(className)] = std::move(creator);
}

} // namespace ui
