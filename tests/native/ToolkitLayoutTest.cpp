// Measuring and arranging control trees.

#include <gtest/gtest.h>

#include "toolkit/Container.h"
#include "toolkit/HeadlessHost.h"

using namespace ui;

namespace {

constexpr std::string_view kNested = R"(<Window size="400,300">
  <VerticalLayout name="root" padding="10,10,10,10" childpadding="5">
    <HorizontalLayout name="top" height="40">
      <Control name="fixedLeft" width="100"/>
      <Control name="stretchA" margin="5,0,5,0"/>
      <Control name="stretchB"/>
      <Control name="icon" width="20" height="20"/>
    </HorizontalLayout>
    <Control name="middle"/>
    <Control name="gone" height="50" visible="false"/>
    <HorizontalLayout name="bottom" height="30" padding="4,2,4,2">
      <Control name="tall" width="50" height="100"/>
    </HorizontalLayout>
    <Control name="overlay" float="true"/>
    <Control name="badge" float="true" pos="380,0,0,0" width="12" height="12"/>
  </VerticalLayout>
</Window>)";

} // namespace

TEST(ToolkitLayout, FixedChildrenKeepTheirSizeAndStretchingOnesShareTheRest) {
    HeadlessHost host;
    Window* w = host.open(kNested);
    ASSERT_TRUE(w);
    EXPECT_EQ(host.rect(*w, L"top"), (Rect{10, 10, 390, 50}));
    EXPECT_EQ(host.rect(*w, L"fixedLeft"), (Rect{10, 10, 110, 50}));
    // 380 - 100 - 20 - 10 of margins = 250, shared by two.
    EXPECT_EQ(host.rect(*w, L"stretchA"), (Rect{115, 10, 240, 50}));
    EXPECT_EQ(host.rect(*w, L"stretchB"), (Rect{245, 10, 370, 50}));
    // A fixed height across a horizontal layout is centred.
    EXPECT_EQ(host.rect(*w, L"icon"), (Rect{370, 20, 390, 40}));
    // 280 - 40 - 30 - two gaps (the hidden child takes neither room nor a gap).
    EXPECT_EQ(host.rect(*w, L"middle"), (Rect{10, 55, 390, 255}));
    EXPECT_EQ(host.rect(*w, L"bottom"), (Rect{10, 260, 390, 290}));
    // Taller than its room: clipped to the room inside the padding.
    EXPECT_EQ(host.rect(*w, L"tall"), (Rect{14, 262, 64, 288}));
}

TEST(ToolkitLayout, FloatingChildrenFillOrSitAtTheirPos) {
    HeadlessHost host;
    Window* w = host.open(kNested);
    EXPECT_EQ(host.rect(*w, L"overlay"), (Rect{0, 0, 400, 300}));
    EXPECT_EQ(host.rect(*w, L"badge"), (Rect{380, 0, 392, 12}));
}

TEST(ToolkitLayout, ScaleFactorAppliesToSkinSizesEdgesAndPositions) {
    HeadlessHost host;
    Window* w = host.open(kNested, 1.5);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->clientSize(), (Size{600, 450}));
    EXPECT_EQ(host.rect(*w, L"top"), (Rect{15, 15, 585, 75}));
    EXPECT_EQ(host.rect(*w, L"fixedLeft"), (Rect{15, 15, 165, 75}));
    EXPECT_EQ(host.rect(*w, L"bottom"), (Rect{15, 390, 585, 435}));
    EXPECT_EQ(host.rect(*w, L"badge"), (Rect{570, 0, 588, 18}));
}

TEST(ToolkitLayout, ShowingAChildOrChangingASizeLaysOutAgain) {
    HeadlessHost host;
    Window* w = host.open(kNested);
    w->findControl(L"gone")->setVisible(true);
    EXPECT_EQ(host.rect(*w, L"middle"), (Rect{10, 55, 390, 200}));
    w->findControl(L"fixedLeft")->setFixedWidth(146);
    EXPECT_EQ(host.rect(*w, L"fixedLeft").width(), 146);
    w->resize({500, 300});
    EXPECT_EQ(host.rect(*w, L"top").right, 490);
}

TEST(ToolkitLayout, TabLayoutShowsOnlyTheSelectedPage) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="100,100"><TabLayout name="maintab" selectedid="1">
        <Control name="page0"/><Control name="page1"/><Control name="page2"/></TabLayout></Window>)");
    ASSERT_TRUE(w);
    EXPECT_FALSE(host.shown(*w, L"page0"));
    EXPECT_TRUE(host.shown(*w, L"page1"));
    EXPECT_EQ(host.rect(*w, L"page1"), (Rect{0, 0, 100, 100}));
    auto* tab = w->find<TabLayout>(L"maintab");
    EXPECT_TRUE(tab->selectItem(2));
    EXPECT_FALSE(tab->selectItem(3));
    EXPECT_TRUE(host.shown(*w, L"page2"));
    EXPECT_FALSE(host.shown(*w, L"page1"));
}

TEST(ToolkitLayout, AutoWidthLabelsTakeTheirTextsWidth) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="300,20"><HorizontalLayout>
        <Label name="status" text="Running" autocalcwidth="true" textpadding="4,0,4,0"/><Control name="rest"/>
        </HorizontalLayout></Window>)");
    ASSERT_TRUE(w);
    EXPECT_EQ(host.rect(*w, L"status").width(), 7 * 7 + 8);
    w->findControl(L"status")->setText(L"<c ff0000>Off</c>");
    EXPECT_EQ(host.rect(*w, L"status").width(), 3 * 7 + 8);
    EXPECT_EQ(host.rect(*w, L"rest").left, 29);
}
