#pragma once
// Controls that hold controls, and the layouts that place them:
//   - VerticalLayout / HorizontalLayout: children one after another; a child with a fixed size on the
//     layout's axis gets it, the others share what remains equally; across the axis a child fills the layout
//     unless it has a fixed size. Hidden children take no room.
//   - TabLayout: every child fills it, only the selected one is visible.
//   - Floating children (float="true") are placed by pos="l,t,r,b" relative to the container, or fill it
//     when they have no pos; they take no room from the others.
// Children paint in their order and later ones lie above earlier ones, floating or not: a whole-row button
// comes first, a dimming layer last. Across a horizontal layout a child with a fixed height is centred.
// "padding" is the room inside the container's edges, "margin" the room around a child, "childpadding" the
// gap between two children.

#include <memory>
#include <vector>

#include "toolkit/Control.h"

namespace ui {

class Container : public Control {
public:
    explicit Container(std::wstring_view kind = L"Container");
    ~Container() override;

    bool setAttribute(std::wstring_view name, std::wstring_view value) override;

    Control* add(std::unique_ptr<Control> child);
    Control* insert(std::size_t index, std::unique_ptr<Control> child);
    // Takes the child out without destroying it (a row kept across list rebuilds).
    std::unique_ptr<Control> take(Control* child);
    bool remove(Control* child);
    void removeAll();
    std::size_t count() const { return m_items.size(); }
    Control* at(std::size_t index) const { return index < m_items.size() ? m_items[index].get() : nullptr; }
    int indexOf(const Control* child) const;

    void children(std::vector<Control*>& out) const override;
    void arrange(const Rect& rect, double scale) override;
    Control* hitTest(Point p) override;
    void paint(Painter& painter) const override;

    const Edges& padding() const { return m_padding; }

protected:
    // Copies the children too (each through its own clone), attached to the copy.
    Container(const Container& other);
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new Container(*this)); }
    void attachWindow(Window* window) override;
    // Places the children that are not floating inside `inner` (the rectangle less padding).
    virtual void layoutChildren(const Rect& inner, double scale);
    void layoutFloating(double scale);
    virtual void paintChildren(Painter& painter) const;

    std::vector<std::unique_ptr<Control>> m_items;
    Edges m_padding;
    int m_childPadding = 0;
    HAlign m_childAlign = HAlign::Left;
};

class BoxLayout : public Container {
public:
    BoxLayout(std::wstring_view kind, bool vertical);

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new BoxLayout(*this)); }
    void layoutChildren(const Rect& inner, double scale) override;
    // The room the children take on the axis when every stretching child gets `stretchSize`.
    int placeChildren(const Rect& inner, double scale, int offset, int stretchSize);

    bool m_vertical;
};

class VerticalLayout : public BoxLayout {
public:
    explicit VerticalLayout(std::wstring_view kind = L"VerticalLayout") : BoxLayout(kind, true) {}

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new VerticalLayout(*this)); }
};

class HorizontalLayout : public BoxLayout {
public:
    explicit HorizontalLayout(std::wstring_view kind = L"HorizontalLayout") : BoxLayout(kind, false) {}

protected:
    std::unique_ptr<Control> cloneSelf() const override {
        return std::unique_ptr<Control>(new HorizontalLayout(*this));
    }
};

class TabLayout : public Container {
public:
    TabLayout() : Container(L"TabLayout") {}
    bool setAttribute(std::wstring_view name, std::wstring_view value) override;
    bool selectItem(int index);
    int selectedIndex() const { return m_selected; }

protected:
    std::unique_ptr<Control> cloneSelf() const override { return std::unique_ptr<Control>(new TabLayout(*this)); }
    void layoutChildren(const Rect& inner, double scale) override;

private:
    void showSelected();
    int m_selected = 0;
};

} // namespace ui
