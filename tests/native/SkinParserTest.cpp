// Building windows and rows from skin XML.

#include <gtest/gtest.h>

#include "support/LogCapture.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/ImageControl.h"

using namespace ui;

namespace {

constexpr std::string_view kSkin = R"(<?xml version="1.0" encoding="UTF-8"?>
<Window size="400,300" caption="0,0,0,40">
  <Font id="0" name="Roboto" size="12" default="true"/>
  <Font id="1" name="Roboto" size="14" bold="true"/>
  <VerticalLayout name="root" bkcolor="#FF26262B" padding="10,10,10,10">
    <Label name="titleText" text="Multi-instance" textcolor="0xFFFFFFFF" font="1" height="30" tooltip="tip" tag="42"/>
    <Button name="startBtn" text="Start" width="80" height="28" normalimage="file='multiplayer_all\start_normal.png'"
            hotimage="multiplayer_all\start_hover.png" hottextcolor="#FF2EE5A8" enabled="false"/>
    <Combo name="cpucombo" height="28">
      <ListLabelElement text="1" tag="1"/><ListLabelElement text="2" tag="2"/>
    </Combo>
    <RQImageControl name="picture" image="a.png" scale="fit"/>
    <Label name="hidden" visible="false"/>
  </VerticalLayout>
</Window>)";

} // namespace

TEST(SkinParser, BuildsTheTreeWithItsAttributesFontsAndSize) {
    HeadlessHost host;
    host.factory().registerCustom(RQImageControl::kClassName, [] { return std::make_unique<RQImageControl>(); });
    std::wstring error;
    Window* w = host.open(kSkin, 1.0, {}, &error);
    ASSERT_TRUE(w) << error;
    EXPECT_EQ(w->initialSize(), (Size{400, 300}));
    EXPECT_EQ(w->clientSize(), (Size{400, 300}));
    EXPECT_EQ(w->captionHeight(), 40);
    ASSERT_EQ(w->fonts().size(), 2u);
    EXPECT_EQ(w->font(-1)->size, 12);
    EXPECT_TRUE(w->font(1)->bold);

    const Control* title = w->findControl(L"titleText");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->text(), L"Multi-instance");
    EXPECT_EQ(title->textColor(), 0xFFFFFFFFu);
    EXPECT_EQ(title->tooltip(), L"tip");
    EXPECT_EQ(title->tag(), 42);

    const auto* start = w->find<Button>(L"startBtn");
    ASSERT_TRUE(start);
    EXPECT_FALSE(start->enabled());
    EXPECT_EQ(start->normalImage().file, L"multiplayer_all/start_normal.png");
    EXPECT_EQ(start->hotImage().file, L"multiplayer_all/start_hover.png");

    const auto* combo = w->find<Combo>(L"cpucombo");
    ASSERT_TRUE(combo);
    ASSERT_EQ(combo->items().size(), 2u);
    EXPECT_EQ(combo->items()[1].tag, 2);
    EXPECT_TRUE(w->find<RQImageControl>(L"picture"));
    EXPECT_FALSE(host.shown(*w, L"hidden"));
}

TEST(SkinParser, MalformedXmlGivesItsLineAndNoWindow) {
    testing_support::LogCapture log;
    HeadlessHost host;
    std::wstring error;
    EXPECT_FALSE(
        host.open("<Window size=\"10,10\">\n<VerticalLayout>\n<Button name='a'>\n</VerticalLayout>", 1.0, {}, &error));
    EXPECT_NE(error.find(L"skin line 4"), std::wstring::npos) << error;
    EXPECT_FALSE(host.open("", 1.0, {}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(host.open("<Window size='1,1'></Window>", 1.0, {}, &error));
    EXPECT_EQ(error, L"skin has no control");
    EXPECT_FALSE(host.open("<Button name='x'/>", 1.0, {}, &error));
    EXPECT_EQ(error, L"skin root is Button, not Window");
    EXPECT_FALSE(host.row("<Label", &error));
}

TEST(SkinParser, UnknownClassesAndAttributesAreSkippedWithALogLine) {
    testing_support::LogCapture log;
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="10,10"><VerticalLayout>
        <Gadget name="g"><Button name="inner"/></Gadget><Button name="b" colour="red"/>
        <RQImageControl name="notRegistered"/></VerticalLayout></Window>)");
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->findControl(L"b"));
    EXPECT_FALSE(w->findControl(L"inner"));
    EXPECT_FALSE(w->findControl(L"notRegistered"));
    const auto lines = log.all();
    const auto logged = [&](std::wstring_view text) {
        return std::any_of(lines.begin(), lines.end(), [&](const auto& l) { return l.message == text; });
    };
    EXPECT_TRUE(logged(L"skin: unknown control class Gadget skipped"));
    EXPECT_TRUE(logged(L"skin: Button has no attribute colour"));
}

TEST(SkinParser, RefusesTreesDeeperThanAnySkin) {
    testing_support::LogCapture log;
    std::string xml;
    for (int i = 0; i < 200; ++i) xml += "<VerticalLayout>";
    for (int i = 0; i < 200; ++i) xml += "</VerticalLayout>";
    std::wstring error;
    EXPECT_FALSE(HeadlessHost().row(xml, &error));
    EXPECT_NE(error.find(L"deeper"), std::wstring::npos);
}
