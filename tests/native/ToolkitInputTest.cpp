// Input routing of a window: clicks, hot tracking, focus and keyboard, options, lists, sliders, combos, and
// the dimming layer and modal windows that block it.

#include <gtest/gtest.h>

#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/ComboDropDown.h"
#include "toolkit/Edit.h"
#include "toolkit/HeadlessHost.h"
#include "toolkit/List.h"
#include "toolkit/Slider.h"

using namespace ui;
using Events = std::vector<std::wstring>;

namespace {

constexpr std::string_view kForm = R"(<Window size="300,200">
  <VerticalLayout>
    <HorizontalLayout height="30">
      <Edit name="editName" width="100"/>
      <Button name="startBtn" width="60"/>
      <Button name="off" width="60" enabled="false"/>
      <Option name="optionSel" width="30"/>
      <Label name="labelStatus" text="idle"/>
    </HorizontalLayout>
    <HorizontalLayout height="30">
      <Option name="tablet" group="res" width="50" selected="true"/>
      <Option name="phone" group="res" width="50"/>
      <Edit name="searchEdit" width="100"/>
      <Slider name="fpsSlider" width="100" min="0" max="50" step="10" thumbsize="10,10"/>
    </HorizontalLayout>
    <Combo name="cpucombo" height="30"><ListLabelElement text="1"/><ListLabelElement text="2"/></Combo>
    <Control/>
  </VerticalLayout>
</Window>)";

// The events of one kind only ("click:"), or every event but focus changes.
Events only(const Events& all, std::wstring_view prefix) {
    Events out;
    for (const auto& e : all)
        if (e.starts_with(prefix)) out.push_back(e);
    return out;
}
Events withoutFocus(const Events& all) {
    Events out;
    for (const auto& e : all)
        if (!e.starts_with(L"setfocus:") && !e.starts_with(L"killfocus:")) out.push_back(e);
    return out;
}

struct InputTest : testing::Test {
    HeadlessHost host;
    Window* w = host.open(kForm);
};

} // namespace

TEST_F(InputTest, ClickFiresOnReleaseOverTheSameButtonOnly) {
    ASSERT_TRUE(host.click(*w, L"startBtn"));
    EXPECT_EQ(host.takeEvents(), (Events{L"btnmouseenter:startBtn", L"setfocus:startBtn", L"click:startBtn"}));

    const Rect start = host.rect(*w, L"startBtn");
    w->mouseDown({start.left + 5, start.top + 5}, MouseButton::Left);
    w->mouseMove({5, 150});
    w->mouseUp({5, 150}, MouseButton::Left);
    EXPECT_EQ(host.takeEvents(), (Events{L"btnmouseleave:startBtn"}));

    host.click(*w, L"off");
    host.click(*w, L"labelStatus");
    EXPECT_EQ(host.takeEvents(), (Events{L"killfocus:startBtn"}));
}

TEST_F(InputTest, RightButtonAndHoverReachButtons) {
    host.click(*w, L"startBtn", MouseButton::Right);
    host.hover(*w, L"optionSel");
    EXPECT_EQ(host.takeEvents(), (Events{L"btnmouseenter:startBtn", L"rightbuttondown:startBtn",
                                         L"btnmouseleave:startBtn", L"btnmouseenter:optionSel"}));
}

TEST_F(InputTest, FocusMovesWithClicksAndTabAndSkipsDisabledControls) {
    host.click(*w, L"editName");
    EXPECT_EQ(w->focus()->name(), L"editName");
    host.takeEvents();
    host.press(*w, Key::Tab);
    EXPECT_EQ(w->focus()->name(), L"startBtn");
    host.press(*w, Key::Tab);
    EXPECT_EQ(w->focus()->name(), L"optionSel"); // "off" is disabled
    host.press(*w, Key::Tab, {.shift = true});
    EXPECT_EQ(w->focus()->name(), L"startBtn");
    EXPECT_EQ(host.takeEvents(), (Events{L"killfocus:editName", L"setfocus:startBtn", L"killfocus:startBtn",
                                         L"setfocus:optionSel", L"killfocus:optionSel", L"setfocus:startBtn"}));
    // Clicking something that takes no focus takes it away: a rename box ends when the user clicks elsewhere.
    host.click(*w, L"labelStatus");
    EXPECT_EQ(w->focus(), nullptr);
}

TEST_F(InputTest, TypingEditsTheTextAndReturnAndEscapeAreDelivered) {
    host.click(*w, L"searchEdit");
    host.takeEvents();
    host.type(*w, L"ab");
    host.press(*w, Key::Left);
    host.type(*w, L"X");
    host.press(*w, Key::Back);
    host.press(*w, Key::Return);
    EXPECT_EQ(host.text(*w, L"searchEdit"), L"ab");
    EXPECT_EQ(host.takeEvents(), (Events{L"textchanged:searchEdit", L"textchanged:searchEdit",
                                         L"textchanged:searchEdit", L"textchanged:searchEdit", L"return:searchEdit"}));
    w->find<Edit>(L"searchEdit")->setText(L"set by code");
    EXPECT_TRUE(host.takeEvents().empty());

    host.press(*w, Key::Escape);
    EXPECT_FALSE(w->isOpen());
}

TEST_F(InputTest, ReturnClicksTheFocusedButtonAndHidingTheFocusSendsKillFocus) {
    w->setFocus(w->findControl(L"startBtn"));
    host.takeEvents();
    host.press(*w, Key::Return);
    w->findControl(L"startBtn")->setVisible(false);
    EXPECT_EQ(host.takeEvents(), (Events{L"click:startBtn", L"killfocus:startBtn"}));
    EXPECT_EQ(w->focus(), nullptr);
}

TEST_F(InputTest, RadioGroupsKeepOneSelectedCheckBoxesToggle) {
    auto* tablet = w->find<Option>(L"tablet");
    auto* phone = w->find<Option>(L"phone");
    host.click(*w, L"phone");
    EXPECT_TRUE(phone->selected());
    EXPECT_FALSE(tablet->selected());
    host.click(*w, L"phone");
    EXPECT_TRUE(phone->selected());
    host.click(*w, L"optionSel");
    host.click(*w, L"optionSel");
    EXPECT_FALSE(w->find<Option>(L"optionSel")->selected());
    EXPECT_EQ(withoutFocus(host.takeEvents()),
              (Events{L"btnmouseenter:phone", L"selectchanged:tablet", L"selectchanged:phone", L"click:phone",
                      L"click:phone", L"btnmouseleave:phone", L"btnmouseenter:optionSel", L"selectchanged:optionSel",
                      L"click:optionSel", L"selectchanged:optionSel", L"click:optionSel"}));
    w->find<Option>(L"optionSel")->setSelected(true, false);
    EXPECT_TRUE(host.takeEvents().empty());
}

TEST_F(InputTest, SliderSnapsToStepsAndReportsOnRelease) {
    auto* slider = w->find<Slider>(L"fpsSlider");
    const Rect r = host.rect(*w, L"fpsSlider");
    host.clickAt(*w, {r.left + 5 + 90 * 34 / 100, r.top + 5}); // 34 % of the travel: 17, snapped to 20
    EXPECT_EQ(slider->value(), 20);
    EXPECT_EQ(host.takeEvents().back(), L"valuechanged:fpsSlider");
    w->setFocus(slider);
    host.takeEvents();
    host.press(*w, Key::Right);
    EXPECT_EQ(slider->value(), 30);
    slider->setValue(99);
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(host.takeEvents(), (Events{L"valuechanged:fpsSlider"}));
}

TEST_F(InputTest, ComboOpensOnClickAndReportsAChosenItemWithOldAndNewPosition) {
    auto* combo = w->find<Combo>(L"cpucombo");
    int newIndex = -2, oldIndex = -2;
    w->addNotifier([&](const Notify& n) {
        if (n.type == events::kItemSelect) newIndex = static_cast<int>(n.wParam), oldIndex = static_cast<int>(n.lParam);
    });
    host.click(*w, L"cpucombo");
    EXPECT_TRUE(combo->dropped());
    EXPECT_TRUE(combo->chooseItem(1));
    EXPECT_FALSE(combo->dropped());
    EXPECT_EQ(combo->selectedText(), L"2");
    EXPECT_EQ(newIndex, 1);
    EXPECT_EQ(oldIndex, -1);
    host.press(*w, Key::Up);
    EXPECT_EQ(combo->selectedIndex(), 0);
    EXPECT_FALSE(combo->selectItem(5));
}

TEST(ToolkitList, WheelScrollsWithinItsRangeAndHiddenRowsTakeNoClicks) {
    HeadlessHost host;
    Window* w = host.open(
        R"(<Window size="200,130"><VerticalLayout><List name="listVm" vscrollbar="true"/></VerticalLayout></Window>)");
    auto* list = w->find<List>(L"listVm");
    for (int i = 0; i < 5; ++i) {
        auto row = host.row(R"(<ListContainerElement height="50"><Button name="startBtn"/></ListContainerElement>)");
        row->setTag(i);
        list->add(std::move(row));
    }
    std::vector<std::int64_t> clicked;
    w->addNotifier([&](const Notify& n) {
        if (n.type == events::kClick) clicked.push_back(n.sender->parentControl()->tag());
    });
    w->layout();
    EXPECT_EQ(list->contentHeight(), 250);
    EXPECT_EQ(list->scrollRange(), 120);
    EXPECT_EQ(list->at(0)->rect().right, 190); // room for the scroll bar
    host.clickAt(*w, {100, 110});
    host.wheel(*w, L"listVm", -1);
    EXPECT_EQ(list->scrollPos(), 60);
    host.clickAt(*w, {100, 110});
    host.wheel(*w, L"listVm", -5);
    EXPECT_EQ(list->scrollPos(), 120);
    host.wheel(*w, L"listVm", 9);
    EXPECT_EQ(list->scrollPos(), 0);
    EXPECT_EQ(clicked, (std::vector<std::int64_t>{2, 3}));
    // Below the list's bottom nothing is hit, even where a row lies outside the visible part.
    w->resize({200, 300});
    list->setFixedHeight(100);
    host.clickAt(*w, {100, 120});
    EXPECT_EQ(clicked.size(), 2u);
    EXPECT_FALSE(list->scrollThumb().empty());
}

TEST(ToolkitList, AHandlerMayRemoveTheRowWhoseButtonWasClicked) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="200,100"><List name="listVm"/></Window>)");
    auto* list = w->find<List>(L"listVm");
    list->add(host.row(R"(<ListContainerElement height="50"><Button name="stopDownloadBtn"/></ListContainerElement>)"));
    w->addNotifier([&](const Notify& n) {
        if (n.type == events::kClick) list->remove(n.sender->parentControl());
    });
    host.clickAt(*w, {100, 25});
    EXPECT_EQ(list->count(), 0u);
    host.clickAt(*w, {100, 25});
    EXPECT_EQ(w->hotControl(), list);
}

TEST(ToolkitModal, TheDimmingLayerSwallowsClicksUntilHidden) {
    HeadlessHost host;
    Window* w = host.open(R"(<Window size="200,100"><VerticalLayout><Button name="startBtn"/>
        <Control name="_only_model_control_" float="true" visible="false" bkcolor="#80000000"/></VerticalLayout></Window>)");
    w->showOverlay(true);
    EXPECT_TRUE(w->overlayShown());
    host.click(*w, L"startBtn");
    EXPECT_TRUE(host.takeEvents().empty());
    w->showOverlay(false);
    host.click(*w, L"startBtn");
    EXPECT_EQ(host.takeEvents().back(), L"click:startBtn");
}

TEST(ToolkitModal, AModalWindowBlocksEveryInputOfItsOwnerUntilItCloses) {
    HeadlessHost host;
    Window* owner = host.open(R"(<Window size="200,100"><VerticalLayout><Edit name="e"/><Button name="b"/>
        </VerticalLayout></Window>)");
    Window* dialog = host.open(R"(<Window size="100,50"><Button name="sureBtn"/></Window>)");
    int closedWith = -1;
    dialog->setOnClose([&](int code) { closedWith = code; });
    owner->showOverlay(true); // a skin without the layer gets one
    dialog->showModal(*owner);
    owner->showOverlay(false);
    host.click(*owner, L"b");
    host.press(*owner, Key::Tab);
    host.type(*owner, L"x");
    EXPECT_TRUE(host.takeEvents().empty());
    host.click(*dialog, L"sureBtn");
    dialog->close(1);
    EXPECT_EQ(closedWith, 1);
    host.click(*owner, L"b");
    EXPECT_EQ(only(host.takeEvents(), L"click:"), (Events{L"click:sureBtn", L"click:b"}));
}

// Items may carry their own row height (the move-to-group dialog's 26 px rows); the list is as tall as its rows.
TEST_F(InputTest, AComboItemsOwnRowHeightSizesItsRowAndTheList) {
    auto* combo = w->find<Combo>(L"cpucombo");
    combo->removeAll();
    combo->addItem(L"Farm", 0, {.height = 26, .textPadding = L"8,2,8,2"});
    combo->addItem(L"Spare", 1);
    std::unique_ptr<ComboDropDown> list;
    w->setOnDropDown([&](Control& c) { list = std::make_unique<ComboDropDown>(dynamic_cast<Combo&>(c)); });
    host.click(*w, L"cpucombo");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->window().clientSize(), (Size{300, 26 + ComboDropDown::kItemHeight + 4}));
    EXPECT_EQ(list->window().find<Control>(L"comboitem0")->fixedHeight(), 26);
}

TEST_F(InputTest, AComboOpensItsListThroughTheHostAndAChosenRowSelectsIt) {
    auto* combo = w->find<Combo>(L"cpucombo");
    std::unique_ptr<ComboDropDown> list;
    w->setOnDropDown([&](Control& c) { list = std::make_unique<ComboDropDown>(dynamic_cast<Combo&>(c)); });
    host.click(*w, L"cpucombo");
    ASSERT_TRUE(list);
    EXPECT_EQ(list->window().clientSize(), (Size{300, 2 * ComboDropDown::kItemHeight + 4}));
    host.takeEvents();
    host.click(list->window(), L"comboitem1");
    EXPECT_FALSE(list->window().isOpen());
    EXPECT_FALSE(combo->dropped());
    EXPECT_EQ(combo->selectedIndex(), 1);
    EXPECT_EQ(host.takeEvents(), (Events{L"itemselect:cpucombo"}));

    list.reset();
    host.click(*w, L"cpucombo");
    ASSERT_TRUE(list);
    host.press(list->window(), Key::Escape);
    EXPECT_FALSE(combo->dropped());
    EXPECT_EQ(combo->selectedIndex(), 1);
}
