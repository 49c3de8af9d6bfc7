// Copying a parsed control tree: rows are copies of one parsed row skin, so a copy must be the skin again.

#include <gtest/gtest.h>

#include <typeinfo>

#include "support/LogCapture.h"
#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/ImageControl.h"
#include "toolkit/List.h"
#include "toolkit/Slider.h"

using namespace ui;

namespace {

constexpr std::string_view kRow = R"(
<ListContainerElement name="row" height="50" padding="4,4,4,4" childpadding="3" bkcolor="#FF303036">
  <VerticalLayout width="120">
    <Label name="nameLabel" text="Farm &lt;c ff0000&gt;one&lt;/c&gt;" textcolor="#FFFFFFFF" tooltip="the name" tag="7"/>
    <Edit name="renameEdit" text="Farm one" visible="false" maxchar="20"/>
  </VerticalLayout>
  <Button name="startBtn" width="40" normalimage="file='a.png' corner='2,2,2,2'" hotimage="b.png" hottextcolor="#FF2EE5A8"/>
  <Option name="pick" group="rows" selected="true" width="20"/>
  <Combo name="cpu" width="60"><ListLabelElement text="1" tag="1"/><ListLabelElement text="2" tag="2"/></Combo>
  <Slider name="volume" min="0" max="10" value="4" width="50"/>
  <Progress name="busy" value="30" width="30" enabled="false"/>
  <RQImageControl name="picture" image="c.png" width="16"/>
  <TabLayout name="pages" selectedid="1" width="40"><Label name="pageA"/><Label name="pageB"/></TabLayout>
</ListContainerElement>)";

constexpr std::string_view kTwoLists = R"(<Window size="400,200">
  <HorizontalLayout><List name="listA"/><List name="listB"/></HorizontalLayout></Window>)";

struct Seen {
    std::string type;
    std::wstring name, text, tooltip;
    std::int64_t tag;
    bool visible, enabled;
    int width, height;
    bool operator==(const Seen&) const = default;
};

// Every control in tree order with what the skin set on it.
std::vector<Seen> walk(Control& root) {
    std::vector<Seen> out;
    std::vector<Control*> pending{&root};
    while (!pending.empty()) {
        Control* c = pending.front();
        pending.erase(pending.begin());
        out.push_back({typeid(*c).name(), c->name(), c->text(), c->tooltip(), c->tag(), c->visible(), c->enabled(),
                       c->fixedWidth(), c->fixedHeight()});
        c->children(pending);
    }
    return out;
}

} // namespace

// The original is hot when copied: the copy starts at rest, and it answers clicks for itself.
TEST(ControlClone, CopiesEveryClassWithItsSkinStateAtRestAndLaysOutTheSame) {
    HeadlessHost host;
    host.factory().registerCustom(RQImageControl::kClassName, [] { return std::make_unique<RQImageControl>(); });
    std::wstring error;
    Window* w = host.open(kTwoLists, 1.5, {}, &error);
    ASSERT_TRUE(w) << error;
    Control* a = w->find<List>(L"listA")->add(host.row(kRow, &error));
    ASSERT_TRUE(a) << error;
    w->layout();
    ASSERT_TRUE(host.hover(*w, L"startBtn"));

    Control* b = w->find<List>(L"listB")->add(a->clone());
    ASSERT_TRUE(b);
    EXPECT_EQ(walk(*b), walk(*a));
    EXPECT_EQ(dynamic_cast<Combo*>(b->findByName(L"cpu"))->items().size(), 2u);
    EXPECT_EQ(dynamic_cast<Slider*>(b->findByName(L"volume"))->value(), 4);
    EXPECT_TRUE(dynamic_cast<Option*>(b->findByName(L"pick"))->selected());
    EXPECT_EQ(dynamic_cast<TabLayout*>(b->findByName(L"pages"))->selectedIndex(), 1);

    w->layout();
    const int shift = b->rect().left - a->rect().left;
    for (const wchar_t* name : {L"nameLabel", L"startBtn", L"cpu", L"volume", L"picture", L"pageB"}) {
        const Rect ra = a->findByName(name)->rect();
        EXPECT_EQ((Rect{ra.left + shift, ra.top, ra.right + shift, ra.bottom}), b->findByName(name)->rect()) << name;
    }

    Control* button = b->findByName(L"startBtn");
    EXPECT_FALSE(button->hot());
    std::vector<Control*> clicked;
    w->addNotifier([&](const Notify& n) {
        if (n.type == L"click") clicked.push_back(n.sender);
    });
    const Point p{(button->rect().left + button->rect().right) / 2, button->rect().top + 2};
    w->mouseMove(p);
    w->mouseDown(p, MouseButton::Left);
    w->mouseUp(p, MouseButton::Left);
    EXPECT_EQ(clicked, std::vector<Control*>{button});
}

TEST(ControlClone, AClassThatCannotCopyItselfGivesNothingAndSaysSo) {
    struct Forgetful : Button {
        Forgetful() : Button(L"Forgetful") {}
    };
    testing_support::LogCapture log;
    Forgetful control;
    control.setName(L"odd");
    EXPECT_EQ(control.clone(), nullptr);
    EXPECT_TRUE(log.containsPart(L"skin: Forgetful odd cannot be copied"));
}
