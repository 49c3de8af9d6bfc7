#include "toolkit/SkinTexts.h"

#include <gtest/gtest.h>

#include <map>

#include "toolkit/Container.h"

namespace {

TEST(SkinTexts, KeysAreTranslatedAndLiteralTextsAndUnknownKeysStayAsWritten) {
    ui::VerticalLayout root;
    struct Case {
        const wchar_t* text;
        const wchar_t* tooltip;
        const wchar_t* shownText;
        const wchar_t* shownTooltip;
    };
    const Case cases[] = {
        {L"setting_dpi", L"setting_dpi_tip", L"DPI", L"Dots per inch"},
        {L"1080x1920", L"", L"1080x1920", L""},
        {L"x", L"not_in_the_table", L"x", L"not_in_the_table"},
        {L"prompt", L"", L"Prompt", L""},
    };
    for (const Case& c : cases) {
        auto child = std::make_unique<ui::Control>();
        child->setText(c.text);
        child->setTooltip(c.tooltip);
        root.add(std::move(child));
    }
    const std::map<std::wstring, std::wstring, std::less<>> table{
        {L"setting_dpi", L"DPI"}, {L"setting_dpi_tip", L"Dots per inch"}, {L"prompt", L"Prompt"}};
    ui::translateSkinTexts(root, [&](std::wstring_view key) -> std::optional<std::wstring> {
        const auto it = table.find(key);
        return it != table.end() ? std::optional(it->second) : std::nullopt;
    });
    std::vector<ui::Control*> children;
    root.children(children);
    ASSERT_EQ(children.size(), std::size(cases));
    for (std::size_t i = 0; i < children.size(); ++i) {
        EXPECT_EQ(children[i]->text(), cases[i].shownText) << i;
        EXPECT_EQ(children[i]->tooltip(), cases[i].shownTooltip) << i;
    }
}

} // namespace
