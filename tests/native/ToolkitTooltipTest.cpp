// Which tooltip text applies under the mouse.

#include <gtest/gtest.h>

#include "toolkit/HeadlessHost.h"

using namespace ui;

namespace {

// A row: its whole-row button below two labels, a start button that a hidden control may cover, a disabled one.
constexpr std::string_view kRow = R"(<Window size="300,80"><VerticalLayout>
  <HorizontalLayout height="40" tooltip="&lt;c ffdd00&gt;Game&lt;/c&gt; &lt;s&gt;farm&lt;/s&gt; 1">
    <Button name="rowBtn" float="true"/><Label name="labelStatus" width="60" tooltip="Running"/>
    <Label name="labelName" width="60"/><HorizontalLayout width="60"><Button name="startBtn" tooltip="Start"/>
    <Button name="ghost" float="true" visible="false" tooltip="Ghost"/></HorizontalLayout>
    <Button name="off" width="60" enabled="false" tooltip="Off"/>
  </HorizontalLayout><Control name="empty"/></VerticalLayout></Window>)";

struct TooltipTest : testing::Test {
    Point centre(std::wstring_view name) {
        const Rect r = host.rect(*w, name);
        return {r.left + r.width() / 2, r.top + r.height() / 2};
    }
    std::wstring tipOver(std::wstring_view name) { return w->tooltipAt(centre(name)); }
    HeadlessHost host;
    Window* w = host.open(kRow);
};

} // namespace

TEST_F(TooltipTest, TheTopmostControlsOwnTooltipAppliesElseTheNearestAncestorsAsPlainText) {
    EXPECT_EQ(tipOver(L"startBtn"), L"Start");
    EXPECT_EQ(tipOver(L"labelStatus"), L"Running"); // though the row button below it takes the mouse
    EXPECT_EQ(tipOver(L"labelName"), L"Game farm 1");
    EXPECT_EQ(tipOver(L"empty"), L"");
}

TEST_F(TooltipTest, HiddenControlsAreSeenThroughAndDisabledOrHeldOnesShowNothing) {
    EXPECT_EQ(tipOver(L"off"), L"");
    w->findControl(L"ghost")->setVisible(true);
    EXPECT_EQ(tipOver(L"startBtn"), L"Ghost");
    w->mouseDown(centre(L"startBtn"), MouseButton::Left);
    EXPECT_EQ(tipOver(L"startBtn"), L"");
}
