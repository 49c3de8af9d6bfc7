// The one-line edit: selection, clipboard, mouse and painting, with the headless host's clipboard and the
// estimated metrics (7 pixels a character at scale 1).

#include <gtest/gtest.h>

#include "toolkit/Edit.h"
#include "toolkit/HeadlessHost.h"

using namespace ui;

namespace {

using Selection = std::pair<std::size_t, std::size_t>;

struct ToolkitEdit : testing::Test {
    // One edit of 100 x 30 skin pixels at the window's left edge, with `attributes`.
    Edit& open(const std::string& attributes, std::wstring_view text, double scale = 1.0) {
        w = host.open("<Window size=\"200,30\"><HorizontalLayout><Edit name=\"e\" width=\"100\" " + attributes +
                          "/><Edit name=\"next\"/></HorizontalLayout></Window>",
                      scale);
        Edit& edit = *w->find<Edit>(L"e");
        edit.setText(text);
        w->setFocus(&edit);
        host.takeEvents();
        return edit;
    }
    std::size_t changes() {
        const auto events = host.takeEvents();
        return std::count(events.begin(), events.end(), L"textchanged:e");
    }
    HeadlessHost host;
    Window* w = nullptr;
};

struct Press {
    Key key;
    KeyModifiers mods;
};
constexpr KeyModifiers kShift{true, false}, kCtrl{false, true}, kCtrlShift{true, true};

struct Rects final : Painter {
    std::vector<std::pair<Rect, Argb>> fills;
    std::wstring text;
    void fillRect(const Rect& r, Argb color) override { fills.push_back({r, color}); }
    void drawImage(const ImageSpec&, const Rect&) override {}
    void drawText(const Rect&, const std::vector<TextRun>& runs, const TextStyle&) override { text = plainText(runs); }
    void pushClip(const Rect&) override {}
    void popClip() override {}
};

} // namespace

TEST_F(ToolkitEdit, KeysMoveAndExtendTheSelectionFromTheCaretAtTheEnd) {
    const struct {
        std::vector<Press> presses;
        Selection selected;
    } cases[] = {
        {{{Key::Left, {}}, {Key::Left, {}}, {Key::Left, kShift}, {Key::Left, kShift}}, {9, 11}},
        {{{Key::Home, kShift}, {Key::Left, {}}}, {0, 0}},
        {{{Key::Home, kShift}, {Key::Right, {}}}, {13, 13}},
        {{{Key::Home, {}}, {Key::Right, kShift}, {Key::End, kShift}}, {0, 13}},
        {{{Key::Left, kCtrlShift}, {Key::Left, kCtrlShift}}, {4, 13}},
        {{{Key::Home, {}}, {Key::Right, kCtrl}}, {4, 4}},
        {{{Key::A, kCtrl}}, {0, 13}},
    };
    for (const auto& c : cases) {
        Edit& edit = open("", L"one two three");
        edit.setCaret(13);
        for (const Press& p : c.presses) host.press(*w, p.key, p.mods);
        EXPECT_EQ(edit.selection(), c.selected) << &c - cases;
    }
}

TEST_F(ToolkitEdit, TypingReplacesTheSelectionAndBackOrDeleteRemoveIt) {
    Edit& edit = open("", L"one two three");
    edit.select(4, 7);
    host.type(*w, L"2");
    EXPECT_EQ(edit.text(), L"one 2 three");
    host.press(*w, Key::A, kCtrl);
    host.press(*w, Key::Back);
    EXPECT_EQ(edit.text(), L"");
    EXPECT_EQ(changes(), 2u);

    Edit& number = open("numberonly=\"true\" maxchar=\"3\"", L"123");
    number.select(0, 1);
    host.type(*w, L"x"); // refused: the selection stays
    EXPECT_EQ(number.selection(), Selection(0, 1));
    host.press(*w, Key::Delete);
    host.press(*w, Key::End);
    host.type(*w, L"45"); // the 5 finds the box full
    EXPECT_EQ(number.text(), L"234");
    EXPECT_EQ(changes(), 2u);
}

TEST_F(ToolkitEdit, PasteKeepsWhatTheBoxAcceptsInOneChange) {
    const struct {
        const char* attributes;
        const wchar_t* text;
        Selection selected;
        const wchar_t* clipboard;
        const wchar_t* expected;
    } cases[] = {
        {"", L"hello world", {6, 11}, L"there\r\nfriend\r\n", L"hello there friend"},
        {"maxchar=\"8\"", L"abcdef", {6, 6}, L"123456", L"abcdef12"},
        {"maxchar=\"8\"", L"abcdef", {0, 6}, L"123456\n789", L"123456 7"},
        {"numberonly=\"true\"", L"12", {2, 2}, L"3a4\r\n5", L"12345"},
        {"numberonly=\"true\"", L"12", {0, 2}, L"abc", L"12"},
        {"readonly=\"true\"", L"abc", {0, 3}, L"x", L"abc"},
    };
    for (const auto& c : cases) {
        Edit& edit = open(c.attributes, c.text);
        edit.select(c.selected.first, c.selected.second);
        host.clipboard().setText(c.clipboard);
        host.press(*w, Key::V, kCtrl);
        EXPECT_EQ(edit.text(), c.expected) << c.attributes;
        EXPECT_EQ(changes(), edit.text() == c.text ? 0u : 1u) << c.attributes;
    }
}

TEST_F(ToolkitEdit, CopyAndCutTakeTheSelectionButNothingLeavesAPasswordBox) {
    const struct {
        const char* attributes;
        const wchar_t* copied;
        const wchar_t* cut;
        const wchar_t* left;
    } cases[] = {
        {"", L"hello", L"hello", L" world"},
        {"readonly=\"true\"", L"hello", L"before", L"hello world"},
        {"password=\"true\"", L"before", L"before", L"hello world"},
    };
    for (const auto& c : cases) {
        Edit& edit = open(c.attributes, L"hello world");
        edit.select(0, 5);
        host.clipboard().setText(L"before");
        host.press(*w, Key::C, kCtrl);
        EXPECT_EQ(host.clipboard().text(), c.copied) << c.attributes;
        host.clipboard().setText(L"before");
        host.press(*w, Key::X, kCtrl);
        EXPECT_EQ(host.clipboard().text(), c.cut) << c.attributes;
        EXPECT_EQ(edit.text(), c.left) << c.attributes;
    }
}

TEST_F(ToolkitEdit, ClicksPlaceTheCaretAtTheNearestBoundaryDragSelectsDoubleClickAndTabSelectAll) {
    const struct {
        double scale;
        const char* attributes;
        int x;
        std::size_t caret;
    } cases[] = {{1, "", 10, 1},
                 {1, "", 11, 2},
                 {1, "", 90, 6},
                 {2, "textpadding=\"5,0,0,0\"", 10 + 28 + 6, 2},
                 {2, "textpadding=\"5,0,0,0\"", 10 + 28 + 8, 3}};
    for (const auto& c : cases) {
        Edit& edit = open(c.attributes, L"abcdef", c.scale);
        w->setFocus(nullptr);
        host.clickAt(*w, {c.x, 10});
        EXPECT_EQ(edit.selection(), Selection(c.caret, c.caret)) << c.x;
    }
    Edit& edit = open("", L"abcdef");
    w->mouseDown({10, 10}, MouseButton::Left);
    w->mouseMove({30, 10});
    EXPECT_EQ(edit.selection(), Selection(1, 4));
    w->mouseUp({30, 10}, MouseButton::Left);
    w->mouseDown({10, 10}, MouseButton::Left, true);
    EXPECT_EQ(edit.selection(), Selection(0, 6));
    edit.setCaret(2);
    host.press(*w, Key::Tab, kShift); // round to the other edit and back
    host.press(*w, Key::Tab);
    EXPECT_EQ(edit.selection(), Selection(0, 6));
}

TEST_F(ToolkitEdit, ALongTextScrollsToKeepTheCaretInsideAndClicksFollowTheScroll) {
    Edit& edit = open("", std::wstring(30, L'x')); // 210 pixels in a box of 100
    for (const Key key : {Key::End, Key::Home, Key::End}) {
        host.press(*w, key);
        Rects painter;
        w->paint(painter);
        ASSERT_EQ(painter.fills.size(), 1u);
        const Rect caret = painter.fills[0].first;
        EXPECT_TRUE(caret.left >= 0 && caret.right <= 100) << caret.left;
    }
    EXPECT_EQ(edit.scrollOffset(), 210 - 99);
    host.clickAt(*w, {50, 10});
    EXPECT_EQ(edit.caret(), 23u); // 50 + 111 pixels into the text
}

TEST_F(ToolkitEdit, TheCaretAndTheSelectionArePaintedOnlyWhileFocused) {
    Edit& edit = open("password=\"true\" selectedcolor=\"#FF112233\" textcolor=\"#FFFFFFFF\"", L"secret");
    edit.select(1, 3);
    Rects painter;
    w->paint(painter);
    EXPECT_EQ(painter.text, L"******");
    ASSERT_EQ(painter.fills.size(), 2u);
    EXPECT_EQ(painter.fills[0], (std::pair{Rect{7, 7, 21, 23}, Argb{0xFF112233}}));
    EXPECT_EQ(painter.fills[1], (std::pair{Rect{21, 7, 22, 23}, Argb{0xFFFFFFFF}}));
    w->setFocus(nullptr);
    painter.fills.clear();
    w->paint(painter);
    EXPECT_TRUE(painter.fills.empty());
}
