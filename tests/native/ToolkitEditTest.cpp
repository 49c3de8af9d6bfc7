// The one-line edit: selection, clipboard, mouse and painting, with the headless host's clipboard and the
// estimated metrics (7 pixels a character at scale 1).

#include <gtest/gtest.h>

#include "toolkit/Edit.h"
#include "toolkit/HeadlessHost.h"

using namespace ui;

namespace {

using Selection = std::pair<std::size_t, std::size_t>;
constexpr KeyModifiers kShift{true, false}, kCtrl{false, true};

struct Fills final : Painter {
    std::vector<std::pair<Rect, Argb>> fills;
    std::wstring text;
    void fillRect(const Rect& r, Argb color) override { fills.push_back({r, color}); }
    void drawImage(const ImageSpec&, const Rect&) override {}
    void drawText(const Rect&, const std::vector<TextRun>& runs, const TextStyle&) override { text = plainText(runs); }
    void pushClip(const Rect&) override {}
    void popClip() override {}
};

struct ToolkitEdit : testing::Test {
    // A focused edit of 100 x 30 skin pixels at the window's left edge with the caret at the end of `text` and
    // nothing selected, another edit beside it.
    Edit& open(const std::string& attributes, std::wstring_view text, double scale = 1.0) {
        w = host.open("<Window size=\"200,30\"><HorizontalLayout><Edit name=\"e\" width=\"100\" " + attributes +
                          "/><Edit/></HorizontalLayout></Window>",
                      scale);
        Edit& edit = *w->find<Edit>(L"e");
        w->setFocus(&edit);
        edit.setText(text);
        host.takeEvents();
        return edit;
    }
    Fills paint() {
        Fills painter;
        w->paint(painter);
        return painter;
    }
    HeadlessHost host;
    Window* w = nullptr;
};

} // namespace

TEST_F(ToolkitEdit, KeysMoveAndExtendTheSelectionAndTypingReplacesIt) {
    const struct {
        std::vector<std::pair<Key, KeyModifiers>> presses;
        Selection selected;
        const wchar_t* typed; // after typing "_"
    } cases[] = {
        {{{Key::Left, {}}, {Key::Left, {}}, {Key::Left, kShift}, {Key::Left, kShift}}, {9, 11}, L"one two t_ee"},
        {{{Key::Home, kShift}, {Key::Left, {}}}, {0, 0}, L"_one two three"},
        {{{Key::Home, {}}, {Key::End, kShift}, {Key::Right, {}}}, {13, 13}, L"one two three_"},
        {{{Key::Left, {true, true}}, {Key::Left, {true, true}}}, {4, 13}, L"one _"},
        {{{Key::Home, {}}, {Key::Right, kCtrl}}, {4, 4}, L"one _two three"},
        {{{Key::A, kCtrl}, {Key::Back, {}}}, {0, 0}, L"_"},
    };
    for (const auto& c : cases) {
        Edit& edit = open("", L"one two three");
        for (const auto& [key, mods] : c.presses) host.press(*w, key, mods);
        EXPECT_EQ(edit.selection(), c.selected) << c.typed;
        host.type(*w, L"_");
        EXPECT_EQ(edit.text(), c.typed);
    }
}

// On Windows an emoji is two UTF-16 units; a name must never be left holding half of one.
TEST_F(ToolkitEdit, TheCaretNeverSplitsACharacterOfTwoUnits) {
    const std::wstring face = L"\xD83D\xDE00";
    Edit& edit = open("maxchar=\"4\"", L"a" + face + L"b");
    host.press(*w, Key::Left);
    host.press(*w, Key::Left);
    EXPECT_EQ(edit.caret(), 1u);
    host.press(*w, Key::Right);
    host.press(*w, Key::Back);
    EXPECT_EQ(edit.text(), L"ab");
    edit.setText(L"ab");
    host.clipboard().setText(L"c" + face);
    host.press(*w, Key::V, kCtrl);
    EXPECT_EQ(edit.text(), L"abc") << "the pair does not fit whole";
    edit.setText(L"a" + face);
    host.clickAt(*w, {1 + 7 * 2, 15}); // between the two units
    EXPECT_NE(edit.caret(), 2u);
}

TEST_F(ToolkitEdit, CopyCutAndPasteTakeWhatTheBoxAllowsInOneChange) {
    const struct {
        const char* attributes;
        const wchar_t* text;
        Selection selected;
        Key key;
        const wchar_t* clipboard; // before; after, the same unless `copied`
        const wchar_t* expected;
        const wchar_t* copied;
    } cases[] = {
        {"", L"hello world", {6, 11}, Key::V, L"there\r\nfriend\r\n", L"hello there friend", nullptr},
        {"maxchar=\"8\"", L"abcdef", {6, 6}, Key::V, L"123456", L"abcdef12", nullptr},
        {"maxchar=\"8\"", L"abcdef", {0, 6}, Key::V, L"123456\n789", L"123456 7", nullptr},
        {"numberonly=\"true\"", L"12", {2, 2}, Key::V, L"3a4\r\n5", L"12345", nullptr},
        {"numberonly=\"true\"", L"12", {0, 2}, Key::V, L"abc", L"12", nullptr}, // nothing accepted, nothing lost
        {"readonly=\"true\"", L"abc", {0, 3}, Key::V, L"x", L"abc", nullptr},
        {"", L"hello world", {0, 5}, Key::X, L"-", L" world", L"hello"},
        {"readonly=\"true\"", L"hello world", {0, 5}, Key::X, L"-", L"hello world", nullptr},
        {"readonly=\"true\"", L"hello world", {0, 5}, Key::C, L"-", L"hello world", L"hello"},
        {"password=\"true\"", L"hello world", {0, 5}, Key::C, L"-", L"hello world", nullptr},
        {"password=\"true\"", L"hello world", {0, 5}, Key::X, L"-", L"hello world", nullptr},
    };
    for (const auto& c : cases) {
        Edit& edit = open(c.attributes, c.text);
        edit.select(c.selected.first, c.selected.second);
        host.clipboard().setText(c.clipboard);
        host.press(*w, c.key, kCtrl);
        EXPECT_EQ(edit.text(), c.expected) << c.attributes << " " << &c - cases;
        EXPECT_EQ(host.clipboard().text(), c.copied ? c.copied : c.clipboard) << &c - cases;
        EXPECT_EQ(host.takeEvents().size(), edit.text() == c.text ? 0u : 1u) << &c - cases;
    }
}

TEST_F(ToolkitEdit, AClickPlacesTheCaretAtTheNearestBoundaryDraggingSelectsDoubleClickAndTabSelectAll) {
    const struct {
        double scale;
        int x;
        std::size_t caret;
    } cases[] = {{1, 5 + 10, 1}, {1, 5 + 11, 2}, {1, 90, 6}, {2, 10 + 28 + 6, 2}, {2, 10 + 28 + 8, 3}};
    for (const auto& c : cases) {
        Edit& edit = open("textpadding=\"5,0,0,0\"", L"abcdef", c.scale);
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
    host.press(*w, Key::Tab); // round to the other edit and back
    host.press(*w, Key::Tab);
    EXPECT_EQ(edit.selection(), Selection(0, 6));
}

TEST_F(ToolkitEdit, ALongTextScrollsToKeepTheCaretInsideAndClicksFollowTheScroll) {
    Edit& edit = open("", std::wstring(30, L'x')); // 210 pixels in a box of 100
    for (const Key key : {Key::End, Key::Home, Key::End}) {
        host.press(*w, key);
        const auto fills = paint().fills;
        ASSERT_EQ(fills.size(), 1u);
        EXPECT_TRUE(fills[0].first.left >= 0 && fills[0].first.right <= 100);
    }
    host.clickAt(*w, {50, 10});
    EXPECT_EQ(edit.caret(), 23u); // 50 + 111 pixels into the text
}

TEST_F(ToolkitEdit, TheCaretAndTheSelectionArePaintedOnlyWhileFocused) {
    Edit& edit = open("password=\"true\" selectedcolor=\"#FF112233\" textcolor=\"#FFFFFFFF\"", L"secret");
    edit.select(1, 3);
    const Fills focused = paint();
    EXPECT_EQ(focused.text, L"******");
    EXPECT_EQ(focused.fills,
              (std::vector<std::pair<Rect, Argb>>{{{7, 7, 21, 23}, 0xFF112233}, {{21, 7, 22, 23}, 0xFFFFFFFF}}));
    w->setFocus(nullptr);
    EXPECT_TRUE(paint().fills.empty());
}
