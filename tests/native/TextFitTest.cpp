// Which texts a laid-out window cannot hold, with made-up metrics: Latin letters 10 pixels wide, ideographs 20,
// lines 16 high, all at scale 1.

#include <gtest/gtest.h>

#include "toolkit/HeadlessHost.h"
#include "toolkit/TextFit.h"

using namespace ui;

namespace {

class GridMetrics final : public TextMetrics {
public:
    Size measure(std::wstring_view text, int, double scale) const override {
        int width = 0;
        for (wchar_t c : text) width += c >= 0x2E80 ? 20 : 10;
        return {scaled(width, scale), scaled(16, scale)};
    }
};

// One label of 100 x 40 pixels at scale 1 with the given attributes and text.
std::string labelSkin(const std::string& attributes) {
    return R"(<Window size="200,100"><VerticalLayout><HorizontalLayout height="40">)"
           R"(<Label name="l" width="100" textcolor="#FFFFFFFF" )" +
           attributes + R"(/><Control/></HorizontalLayout></VerticalLayout></Window>)";
}

TEST(TextFit, ReportsTheControlsWhoseTextAreaCannotHoldTheirText) {
    struct Case {
        const char* attributes;
        double scale;
        bool overflows;
    };
    const Case cases[] = {
        {R"(text="abcdefghij")", 1.0, false},                                      // exactly 100
        {R"(text="abcdefghijk")", 1.0, true},                                      // 110
        {R"(text="abcdefghij" textpadding="4,0,0,0")", 1.0, true},                 // the padding is not the text's
        {R"(text="abcdefghij" height="12")", 1.0, true},                           // lower than a line
        {R"(text="abcdefghij")", 1.5, false},                                      // both grow with the scale
        {R"(text="&#x4E2D;&#x6587;&#x4E2D;&#x6587;&#x4E2D;")", 1.0, false},        // five ideographs: 100
        {R"(text="&#x4E2D;&#x6587;&#x4E2D;&#x6587;&#x4E2D;&#x6587;")", 1.0, true}, // six: 120
        {R"(text="&lt;c ffdd00&gt;abc&lt;/c&gt;defghij")", 1.0, false},            // markup is not drawn
        {R"(text="abcdefghijklmnop" textcolor="#00FFFFFF")", 1.0, false},          // not drawn at all
        {R"(text="abcdefghijklmnop" visible="false")", 1.0, false},
        {R"(text="abcd efgh ijkl" multiline="true")", 1.0, false},          // two lines of 32 in 40
        {R"(text="abcd efgh ijkl mnop qrst" multiline="true")", 1.0, true}, // three lines: 48
        {R"(text="abcdefghijkl" multiline="true")", 1.0, true},             // one word wider than the label
        {R"(text="&#x4E2D;&#x6587;&#x4E2D;&#x6587;&#x4E2D;&#x6587;" multiline="true")", 1.0, false}, // wraps anywhere
    };
    const GridMetrics metrics;
    for (const Case& c : cases) {
        HeadlessHost host;
        Window* w = host.open(labelSkin(c.attributes), c.scale);
        ASSERT_TRUE(w) << c.attributes;
        const auto found = findTextOverflows(*w, metrics);
        EXPECT_EQ(found.size(), c.overflows ? 1u : 0u) << c.attributes << " at " << c.scale;
        if (!found.empty()) {
            EXPECT_EQ(found[0].control->name(), L"l");
        }
    }
}

TEST(TextFit, ALabelHiddenWithItsParentIsNotChecked) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="200,100"><VerticalLayout><HorizontalLayout name="bar" visible="false">
        <Label name="l" width="20" text="far too long" textcolor="#FFFFFFFF"/></HorizontalLayout></VerticalLayout>
        </Window>)");
    ASSERT_TRUE(w);
    EXPECT_TRUE(findTextOverflows(*w, GridMetrics()).empty());
    w->findControl(L"bar")->setVisible(true);
    w->layout();
    EXPECT_EQ(findTextOverflows(*w, GridMetrics()).size(), 1u);
}

TEST(TextFit, WrappedTextBreaksAtSpacesAndBetweenIdeographs) {
    const GridMetrics metrics;
    EXPECT_EQ(wrappedTextSize(L"abcd efgh ijkl", 100, 0, 1.0, metrics), (Size{90, 32}));
    EXPECT_EQ(wrappedTextSize(L"abcd   efgh", 50, 0, 1.0, metrics), (Size{40, 32})) << "spaces end the line";
    EXPECT_EQ(wrappedTextSize(L"\u4E2D\u6587abcd", 50, 0, 1.0, metrics), (Size{40, 32}));
    EXPECT_EQ(wrappedTextSize(L"\u4E2D\u6587\u4E2D", 50, 0, 1.0, metrics), (Size{40, 32}));
    EXPECT_EQ(wrappedTextSize(L"", 50, 0, 1.0, metrics), (Size{0, 0}));
}

} // namespace
