#pragma once
// The base of every control in a skin's tree: name, text, colours, images, size rules, visibility and the
// input hooks the window calls.
//
// A control is owned by its parent container (the root by its Window). Attributes arrive as skin text through
// `setAttribute`; sizes and edges are kept in skin pixels and scaled during layout. Controls never call a
// platform: they ask their window to notify, to repaint or to move the focus.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Color.h"
#include "toolkit/Geometry.h"
#include "toolkit/ImageSpec.h"
#include "toolkit/Input.h"
#include "toolkit/Painter.h"

namespace ui {

class Container;
class Window;

class Control {
public:
    explicit Control(std::wstring_view kind = L"Control");
    virtual ~Control();
    Control& operator=(const Control&) = delete;

    // A detached copy of this control and everything below it, at rest (not hot, pushed or focused): a row
    // skin is parsed once and its tree copied for every row. Null when a class cannot copy itself.
    std::unique_ptr<Control> clone() const;

    // The skin's element name ("Button", "Label"...), or the custom class it was created for.
    const std::wstring& kind() const { return m_kind; }
    const std::wstring& name() const { return m_name; }
    void setName(std::wstring_view name) { m_name = name; }

    // False when the attribute is unknown to this kind (the parser logs it and goes on).
    virtual bool setAttribute(std::wstring_view name, std::wstring_view value);

    const std::wstring& text() const { return m_text; }
    virtual void setText(std::wstring_view text);
    const std::wstring& tooltip() const { return m_tooltip; }
    void setTooltip(std::wstring_view text) { m_tooltip = text; }
    // The skin's "accrole": "pagetab", "grouping" or "statictext" for a role the class does not imply, "none"
    // to keep the control and everything below it out of the accessible tree.
    const std::wstring& accRole() const { return m_accRole; }
    std::int64_t tag() const { return m_tag; }
    void setTag(std::int64_t tag) { m_tag = tag; }
    Argb textColor() const { return m_textColor; }
    const TextStyle& textStyle() const { return m_textStyle; }
    const Edges& textPadding() const { return m_textPadding; }
    void setTextColor(Argb color);
    void setBkImage(std::wstring_view spec);
    const ImageSpec& bkImage() const { return m_bkImage; }

    bool visible() const { return m_visible; }
    void setVisible(bool visible);
    bool enabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    // Visible itself and through every ancestor.
    bool isShown() const;
    bool isEnabledInTree() const;

    int fixedWidth() const { return m_fixedWidth; }
    int fixedHeight() const { return m_fixedHeight; }
    void setFixedWidth(int width);
    void setFixedHeight(int height);
    const Edges& margin() const { return m_margin; }
    bool isFloat() const { return m_float; }
    const std::optional<Rect>& floatPos() const { return m_pos; }

    // Layout: the size this control asks for in pixels (0 on an axis: take what the parent offers), then its
    // final rectangle.
    virtual Size desiredSize(Size available, double scale) const;
    virtual void arrange(const Rect& rect, double scale);
    const Rect& rect() const { return m_rect; }

    Container* parent() const { return m_parent; }
    Control* parentControl() const;
    Window* window() const { return m_window; }
    // Controls below this one (none for a plain control), for look-ups and focus order.
    virtual void children(std::vector<Control*>&) const {}
    Control* findByName(std::wstring_view name);
    template <class T>
    T* findAncestor() const {
        for (Control* c = parentControl(); c; c = c->parentControl())
            if (auto* t = dynamic_cast<T*>(c)) return t;
        return nullptr;
    }

    // Input. The window calls these on the control under the mouse or with the focus.
    virtual Control* hitTest(Point p);
    bool acceptsMouse() const { return m_mouse.value_or(defaultAcceptsMouse()); }
    virtual bool acceptsFocus() const { return false; }
    bool hot() const { return m_hot; }
    bool pushed() const { return m_pushed; }
    bool focused() const { return m_focused; }
    virtual void onMouseEnter() { setHot(true); }
    virtual void onMouseLeave() { setHot(false); }
    virtual void onMouseDown(Point, MouseButton) {}
    // The second press of a double click; to most controls it is one more press.
    virtual void onDoubleClick(Point p) { onMouseDown(p, MouseButton::Left); }
    virtual void onMouseDrag(Point) {}
    virtual void onMouseUp(Point, bool /*inside*/) {}
    virtual bool onKey(Key, KeyModifiers) { return false; }
    virtual void onChar(wchar_t) {}
    virtual bool onWheel(int /*notches*/) { return false; }
    virtual void onFocusChanged(bool focused);

    void setHot(bool hot) { m_hot = hot; }
    void setPushed(bool pushed) { m_pushed = pushed; }

    virtual void paint(Painter& painter) const;

protected:
    friend class Container;
    friend class Window;
    // Copies everything the skin set, the tree links included; `clone` clears what must not travel.
    Control(const Control&) = default;
    // Every class with state or behaviour of its own answers with a copy of its own class.
    virtual std::unique_ptr<Control> cloneSelf() const { return std::unique_ptr<Control>(new Control(*this)); }
    void attach(Container* parent, Window* window);
    virtual void attachWindow(Window* window) { m_window = window; }
    virtual bool defaultAcceptsMouse() const { return false; }
    void notify(std::wstring_view type, std::int64_t wParam = 0, std::int64_t lParam = 0);
    void needLayout();
    void repaint();
    void paintText(Painter& painter, const Rect& area, Argb color) const;
    double scale() const;

    std::wstring m_kind;
    std::wstring m_name;
    std::wstring m_text;
    std::wstring m_tooltip;
    std::wstring m_accRole;
    std::int64_t m_tag = 0;
    Argb m_textColor = kBlack;
    Argb m_disabledTextColor = 0xFF808080;
    std::optional<Argb> m_bkColor;
    ImageSpec m_bkImage;
    TextStyle m_textStyle;
    Edges m_textPadding;
    bool m_autoWidth = false;

    bool m_visible = true;
    bool m_enabled = true;
    std::optional<bool> m_mouse;
    int m_fixedWidth = 0;
    int m_fixedHeight = 0;
    Edges m_margin;
    bool m_float = false;
    std::optional<Rect> m_pos;
    Rect m_rect;

    bool m_hot = false;
    bool m_pushed = false;
    bool m_focused = false;

    Container* m_parent = nullptr;
    Window* m_window = nullptr;
};

// Attribute helpers shared by the controls and the parser.
bool parseBool(std::wstring_view value);
std::optional<int> parseInteger(std::wstring_view value);

} // namespace ui
