#pragma once
// What a window shows to screen readers and automation tools, decided from the control tree alone: which
// controls are exposed, and for each its role, name, value, state, place, default action and help (the
// control's name in the skin, so scripts find "startBtn" while screen readers do not announce it).
//
// Exposed are the shown controls as a tree: named containers are groupings (unnamed ones only arrange and
// pass their children up, empty groupings are left out), a list's rows are list items with their controls
// inside, a row's whole-row button is the row itself, plain controls without a text are decoration. A
// control's id is given on first sight and never reused; a removed control's id stops resolving, so a client
// holding it gets an error, never another control. The window builds this tree only when a client first asks
// or a focus event needs an id (`Window::accessible`); until then nothing here costs anything, and while it
// holds only a few ids a rebuild of the list costs about nothing more.

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "toolkit/Geometry.h"

namespace ui {

class Button;
class Control;
class Window;

enum class AccRole {
    Client,
    Dialog,
    MenuPopup,
    MenuItem,
    PushButton,
    CheckBox,
    RadioButton,
    PageTab,
    EditableText,
    ComboBox,
    List,
    ListItem,
    Slider,
    ProgressBar,
    StaticText,
    Grouping,
};

namespace accstate {
inline constexpr std::uint32_t kUnavailable = 1u << 0;
inline constexpr std::uint32_t kSelected = 1u << 1;
inline constexpr std::uint32_t kFocused = 1u << 2;
inline constexpr std::uint32_t kPressed = 1u << 3;
inline constexpr std::uint32_t kChecked = 1u << 4;
inline constexpr std::uint32_t kReadOnly = 1u << 5;
inline constexpr std::uint32_t kHotTracked = 1u << 6;
inline constexpr std::uint32_t kExpanded = 1u << 7;
inline constexpr std::uint32_t kCollapsed = 1u << 8;
inline constexpr std::uint32_t kInvisible = 1u << 9;
inline constexpr std::uint32_t kOffscreen = 1u << 10;
inline constexpr std::uint32_t kFocusable = 1u << 11;
inline constexpr std::uint32_t kSelectable = 1u << 12;
inline constexpr std::uint32_t kProtected = 1u << 13;
} // namespace accstate

struct AccessibleInfo {
    AccRole role = AccRole::Client;
    std::wstring name;
    std::optional<std::wstring> value; // edits, combos, sliders and progress bars
    std::wstring description;          // the tooltip when it is not the name already
    std::wstring help;                 // the control's name in the skin
    std::wstring defaultAction;        // empty: none
    std::uint32_t state = 0;
    Rect location; // client pixels at the window's scale
};

enum class AccNavigation { Next, Previous, FirstChild, LastChild, Up, Down, Left, Right };

class AccessibleTree {
public:
    using Id = std::int32_t;
    static constexpr Id kWindow = 0; // the window itself; controls get ids from 1 on
    static constexpr Id kNone = -1;

    explicit AccessibleTree(Window& window) : m_window(window) {}

    // The control behind an id; null for the window, an unknown id or a control that is gone.
    Control* control(Id id) const;
    bool alive(Id id) const { return id == kWindow || control(id) != nullptr; }
    // The id of an exposed control (the window's for one that is not exposed or not in this window).
    Id idOf(const Control* control);

    std::vector<Id> children(Id id);
    Id parent(Id id);
    std::optional<AccessibleInfo> describe(Id id);
    // What a click on it does, through the same path as the mouse; false when a click could not reach it.
    bool doDefaultAction(Id id);
    // Gives it the keyboard focus when it takes the focus and input is not blocked.
    bool takeFocus(Id id);
    // The deepest exposed control at a client point; the window when none, kNone outside.
    Id hitTest(Point client);
    // The exposed control with the keyboard focus, else the window.
    Id focus();
    Id navigate(Id from, AccNavigation direction);

    // The window forgets a removed control and everything below it.
    void forget(const Control* subtree);

private:
    enum class Exposure { Hidden, PassThrough, Node };
    Exposure exposure(const Control& c);
    bool hasExposedChildren(const Control& c);
    void collectChildren(const Control& c, std::vector<const Control*>& out);
    AccRole roleOf(const Control& c) const;
    Button* clickTarget(Control& c) const;
    const Control* rootControl() const;

    Window& m_window;
    std::unordered_map<const Control*, Id> m_ids;
    std::unordered_map<Id, Control*> m_controls;
    Id m_next = 1;
};

} // namespace ui
