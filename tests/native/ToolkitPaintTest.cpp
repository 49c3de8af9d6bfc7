// What a window asks its painter to draw, recorded by a fake painter.

#include <gtest/gtest.h>

#include "toolkit/HeadlessHost.h"
#include "toolkit/List.h"
#include "toolkit/Slider.h"

using namespace ui;

namespace {

struct RecordingPainter final : Painter {
    std::vector<std::wstring> calls;
    void fillRect(const Rect& r, Argb color) override {
        calls.push_back(L"fill " + std::to_wstring(r.width()) + L"x" + std::to_wstring(r.height()) + L" " +
                        std::to_wstring(color >> 24));
    }
    void drawImage(const ImageSpec& image, const Rect& r) override {
        calls.push_back(L"image " + image.file + L" " + std::to_wstring(r.width()));
    }
    void drawText(const Rect&, const std::vector<TextRun>& runs, const TextStyle& style) override {
        calls.push_back(L"text " + plainText(runs) + L" " + std::to_wstring(style.color & 0xFFFFFF));
    }
    void pushClip(const Rect&) override {}
    void popClip() override {}
};

} // namespace

TEST(ToolkitPaint, StatesPickTheirImagesHiddenControlsDrawNothingTheOverlayComesLast) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="200,100"><VerticalLayout>
        <Button name="startBtn" height="30" text="Start" textcolor="#FFBFBFC3" hottextcolor="#FF2EE5A8"
                normalimage="start_normal.png" hotimage="start_hover.png"/>
        <Progress name="progressbar" height="10" value="25" foreimage="progress_fore.png"/>
        <Label name="labelStatus" text="&lt;c ffdd00&gt;Creating&lt;/c&gt;" visible="false"/>
        <Control name="_only_model_control_" float="true" bkcolor="#80000000"/>
        </VerticalLayout></Window>)");
    ASSERT_TRUE(w);
    w->showOverlay(false);
    host.hover(*w, L"startBtn");
    RecordingPainter painter;
    w->paint(painter);
    EXPECT_EQ(painter.calls, (std::vector<std::wstring>{L"image start_hover.png 200", L"text Start 3073448",
                                                        L"image progress_fore.png 50"}));
    w->showOverlay(true);
    w->findControl(L"labelStatus")->setVisible(true);
    painter.calls.clear();
    w->paint(painter);
    ASSERT_EQ(painter.calls.size(), 5u);
    EXPECT_EQ(painter.calls[0], L"image start_normal.png 200");
    EXPECT_EQ(painter.calls[3], L"text Creating 0");
    EXPECT_EQ(painter.calls[4], L"fill 200x100 128");
}

TEST(ToolkitPaint, RowsScrolledOutOfAListAreNotPainted) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="100,100"><VerticalLayout><List name="listVm"/></VerticalLayout></Window>)");
    auto* list = w->find<List>(L"listVm");
    for (int i = 0; i < 10; ++i)
        list->add(host.row(R"(<ListContainerElement height="50"><Label text="row"/></ListContainerElement>)"));
    RecordingPainter painter;
    w->paint(painter);
    EXPECT_EQ(painter.calls.size(), 2u);
    list->setScrollPos(25);
    painter.calls.clear();
    w->paint(painter);
    EXPECT_EQ(painter.calls.size(), 3u);
}
