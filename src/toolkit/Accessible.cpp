#include "toolkit/Accessible.h"

#include <limits>

#include "toolkit/Button.h"
#include "toolkit/Combo.h"
#include "toolkit/Edit.h"
#include "toolkit/List.h"
#include "toolkit/Markup.h"
#include "toolkit/Slider.h"
#include "toolkit/Window.h"

namespace ui {

namespace {

std::wstring plain(const std::wstring& text) {
    return text.empty() ? std::wstring() : plainText(parseMarkup(text));
}

bool isListItem(const Control& c) {
    return dynamic_cast<const List*>(c.parentControl()) != nullptr;
}

// The button laid over a whole row (floating, no position): clicking the row means clicking it.
bool isWholeRowButton(const Control& c) {
    const Control* row = c.parentControl();
    return row && isListItem(*row) && c.isFloat() && !c.floatPos() && dynamic_cast<const Button*>(&c) &&
           !dynamic_cast<const Option*>(&c);
}

// The part of the control its ancestors do not clip away.
Rect visibleRect(const Control& c) {
    Rect r = c.rect();
    for (const Control* p = c.parentControl(); p && !r.empty(); p = p->parentControl()) r = r.intersect(p->rect());
    return r;
}

const Option* firstOption(const Control& c) {
    if (auto* option = dynamic_cast<const Option*>(&c)) return option;
    std::vector<Control*> kids;
    c.children(kids);
    for (const Control* k : kids)
        if (const Option* found = firstOption(*k)) return found;
    return nullptr;
}

// A row's name is its first text: the instance name of a main-window row.
std::wstring firstText(const Control& c) {
    std::vector<Control*> kids;
    c.children(kids);
    for (const Control* k : kids) {
        if (!k->visible()) continue;
        if (!k->text().empty()) return plain(k->text());
        if (std::wstring inner = firstText(*k); !inner.empty()) return inner;
    }
    return {};
}

std::wstring defaultActionOf(AccRole role, const Control& c, bool clickable) {
    const auto* option = dynamic_cast<const Option*>(&c);
    switch (role) {
    case AccRole::PushButton:
        return L"Press";
    case AccRole::MenuItem:
        return L"Execute";
    case AccRole::CheckBox:
        return option && option->selected() ? L"Uncheck" : L"Check";
    case AccRole::RadioButton:
        return L"Check";
    case AccRole::PageTab:
        return L"Switch";
    case AccRole::ComboBox: {
        const auto* combo = dynamic_cast<const Combo*>(&c);
        return combo && combo->dropped() ? L"Close" : L"Open";
    }
    case AccRole::ListItem:
        return clickable ? L"Click" : L"";
    default:
        return {};
    }
}

} // namespace

const Control* AccessibleTree::rootControl() const {
    return m_window.root();
}

Control* AccessibleTree::control(Id id) const {
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

AccessibleTree::Id AccessibleTree::idOf(const Control* c) {
    if (!c || c == rootControl() || c->window() != &m_window || exposure(*c) != Exposure::Node) return kWindow;
    const auto it = m_ids.find(c);
    if (it != m_ids.end()) return it->second;
    const Id id = m_next++;
    m_ids.emplace(c, id);
    m_controls.emplace(id, const_cast<Control*>(c));
    return id;
}

AccessibleTree::Exposure AccessibleTree::exposure(const Control& c) {
    if (!c.visible() || c.accRole() == L"none" || c.name() == kOverlayName) return Exposure::Hidden;
    if (isListItem(c)) return Exposure::Node;
    if (isWholeRowButton(c)) return Exposure::Hidden;
    if (dynamic_cast<const Container*>(&c)) {
        if (dynamic_cast<const List*>(&c) || !c.accRole().empty()) return Exposure::Node;
        if (c.name().empty()) return Exposure::PassThrough;
        return hasExposedChildren(c) ? Exposure::Node : Exposure::Hidden;
    }
    if (dynamic_cast<const Button*>(&c) || dynamic_cast<const Edit*>(&c) || dynamic_cast<const Progress*>(&c) ||
        c.kind() == L"Label" || c.kind() == L"Text")
        return Exposure::Node;
    return c.text().empty() && c.tooltip().empty() ? Exposure::Hidden : Exposure::Node;
}

bool AccessibleTree::hasExposedChildren(const Control& c) {
    std::vector<Control*> kids;
    c.children(kids);
    for (const Control* k : kids) {
        const Exposure e = exposure(*k);
        if (e == Exposure::Node || (e == Exposure::PassThrough && hasExposedChildren(*k))) return true;
    }
    return false;
}

void AccessibleTree::collectChildren(const Control& c, std::vector<const Control*>& out) {
    std::vector<Control*> kids;
    c.children(kids);
    for (const Control* k : kids) {
        const Exposure e = exposure(*k);
        if (e == Exposure::Node) out.push_back(k);
        if (e == Exposure::PassThrough) collectChildren(*k, out);
    }
}

std::vector<AccessibleTree::Id> AccessibleTree::children(Id id) {
    const Control* c = id == kWindow ? rootControl() : control(id);
    std::vector<Id> out;
    if (!c) return out;
    std::vector<const Control*> kids;
    collectChildren(*c, kids);
    out.reserve(kids.size());
    for (const Control* k : kids) out.push_back(idOf(k));
    return out;
}

AccessibleTree::Id AccessibleTree::parent(Id id) {
    const Control* c = control(id);
    if (!c) return kNone;
    for (const Control* p = c->parentControl(); p; p = p->parentControl()) {
        if (p == rootControl()) return kWindow;
        if (exposure(*p) == Exposure::Node) return idOf(p);
    }
    return kWindow;
}

AccRole AccessibleTree::roleOf(const Control& c) const {
    if (c.accRole() == L"pagetab") return AccRole::PageTab;
    if (c.accRole() == L"grouping") return AccRole::Grouping;
    if (c.accRole() == L"statictext") return AccRole::StaticText;
    if (isListItem(c)) return AccRole::ListItem;
    if (dynamic_cast<const List*>(&c)) return AccRole::List;
    if (dynamic_cast<const Container*>(&c)) return AccRole::Grouping;
    if (dynamic_cast<const Combo*>(&c)) return AccRole::ComboBox;
    if (const auto* option = dynamic_cast<const Option*>(&c))
        return option->group().empty() ? AccRole::CheckBox : AccRole::RadioButton;
    if (dynamic_cast<const Button*>(&c))
        return m_window.kind() == WindowKind::Menu ? AccRole::MenuItem : AccRole::PushButton;
    if (dynamic_cast<const Edit*>(&c)) return AccRole::EditableText;
    if (dynamic_cast<const Slider*>(&c)) return AccRole::Slider;
    if (dynamic_cast<const Progress*>(&c)) return AccRole::ProgressBar;
    return AccRole::StaticText;
}

Button* AccessibleTree::clickTarget(Control& c) const {
    if (auto* button = dynamic_cast<Button*>(&c)) return button;
    if (!isListItem(c)) return nullptr;
    std::vector<Control*> kids;
    c.children(kids);
    for (Control* k : kids)
        if (isWholeRowButton(*k)) return static_cast<Button*>(k);
    return nullptr;
}

std::optional<AccessibleInfo> AccessibleTree::describe(Id id) {
    if (m_window.layoutDirty()) m_window.layout();
    AccessibleInfo info;
    if (id == kWindow) {
        const Control* root = rootControl();
        const WindowKind kind = m_window.kind();
        info.role = kind == WindowKind::Dialog                ? AccRole::Dialog
                    : kind == WindowKind::Menu                ? AccRole::MenuPopup
                    : root && dynamic_cast<const List*>(root) ? AccRole::List
                                                              : AccRole::Client;
        info.name = m_window.title();
        info.help = root ? root->name() : std::wstring();
        info.location = {0, 0, m_window.clientSize().cx, m_window.clientSize().cy};
        info.state = accstate::kFocusable;
        return info;
    }
    Control* c = control(id);
    if (!c) return std::nullopt;
    info.role = roleOf(*c);
    info.help = c->name();
    info.location = c->rect();
    const std::wstring tip = plain(c->tooltip());
    if (info.role == AccRole::EditableText || info.role == AccRole::ComboBox)
        info.name = tip;
    else if (!c->text().empty())
        info.name = plain(c->text());
    else if (info.role == AccRole::ListItem && dynamic_cast<const Container*>(c))
        info.name = firstText(*c);
    if (info.name.empty()) info.name = tip;
    if (tip != info.name) info.description = tip;

    Button* target = clickTarget(*c);
    info.defaultAction = defaultActionOf(info.role, *c, target != nullptr);
    std::uint32_t& s = info.state;
    if (!c->isEnabledInTree()) s |= accstate::kUnavailable;
    if (visibleRect(*c).empty()) s |= accstate::kInvisible | accstate::kOffscreen;
    if (c->acceptsFocus() && c->isEnabledInTree()) s |= accstate::kFocusable;
    if (m_window.focus() == c) s |= accstate::kFocused;
    const Control* pressable = target ? target : c;
    if (pressable->hot()) s |= accstate::kHotTracked;
    if (pressable->pushed()) s |= accstate::kPressed;

    if (const auto* edit = dynamic_cast<const Edit*>(c)) {
        if (edit->readOnly()) s |= accstate::kReadOnly;
        if (edit->password())
            s |= accstate::kProtected;
        else
            info.value = edit->text();
    } else if (const auto* combo = dynamic_cast<const Combo*>(c)) {
        info.value = combo->selectedText();
        s |= combo->dropped() ? accstate::kExpanded : accstate::kCollapsed;
    } else if (const auto* slider = dynamic_cast<const Slider*>(c)) {
        info.value = std::to_wstring(slider->value());
    } else if (const auto* bar = dynamic_cast<const Progress*>(c)) {
        const long long span = bar->maxValue() - bar->minValue();
        info.value = std::to_wstring(span > 0 ? (bar->value() - bar->minValue()) * 100LL / span : 0) + L"%";
    }
    const Option* option = info.role == AccRole::ListItem ? firstOption(*c) : dynamic_cast<const Option*>(c);
    if (option) {
        const bool on = option->selected();
        if (info.role == AccRole::CheckBox || info.role == AccRole::RadioButton) {
            if (on) s |= accstate::kChecked;
        } else {
            s |= accstate::kSelectable | (on ? accstate::kSelected : 0);
        }
    }
    return info;
}

bool AccessibleTree::doDefaultAction(Id id) {
    Control* c = control(id);
    Button* target = c ? clickTarget(*c) : nullptr;
    return target && m_window.activate(*target);
}

bool AccessibleTree::takeFocus(Id id) {
    Control* c = control(id);
    if (!c || m_window.inputBlocked() || !c->isShown() || !c->isEnabledInTree() || !c->acceptsFocus()) return false;
    m_window.setFocus(c);
    return m_window.focus() == c;
}

AccessibleTree::Id AccessibleTree::hitTest(Point p) {
    const Control* c = rootControl();
    if (m_window.layoutDirty()) m_window.layout();
    if (!c || !c->rect().contains(p)) return kNone;
    Id node = kWindow;
    for (bool deeper = true; deeper;) {
        deeper = false;
        std::vector<const Control*> kids;
        collectChildren(*c, kids);
        // Later children lie above earlier ones.
        for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
            if (!visibleRect(**it).contains(p)) continue;
            c = *it;
            node = idOf(c);
            deeper = true;
            break;
        }
    }
    return node;
}

AccessibleTree::Id AccessibleTree::focus() {
    return idOf(m_window.focus());
}

AccessibleTree::Id AccessibleTree::navigate(Id from, AccNavigation direction) {
    if (direction == AccNavigation::FirstChild || direction == AccNavigation::LastChild) {
        const std::vector<Id> kids = children(from);
        if (kids.empty()) return kNone;
        return direction == AccNavigation::FirstChild ? kids.front() : kids.back();
    }
    const Control* self = control(from);
    const Id up = parent(from);
    if (!self || up == kNone) return kNone;
    const std::vector<Id> siblings = children(up);
    std::size_t at = 0;
    while (at < siblings.size() && siblings[at] != from) ++at;
    if (at == siblings.size()) return kNone;
    if (direction == AccNavigation::Next) return at + 1 < siblings.size() ? siblings[at + 1] : kNone;
    if (direction == AccNavigation::Previous) return at > 0 ? siblings[at - 1] : kNone;
    // Spatial: the nearest sibling lying wholly on that side.
    const Rect r = self->rect();
    Id best = kNone;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const Id id : siblings) {
        const Control* other = control(id);
        if (!other || other == self) continue;
        const Rect o = other->rect();
        const bool onSide = (direction == AccNavigation::Up && o.bottom <= r.top) ||
                            (direction == AccNavigation::Down && o.top >= r.bottom) ||
                            (direction == AccNavigation::Left && o.right <= r.left) ||
                            (direction == AccNavigation::Right && o.left >= r.right);
        if (!onSide) continue;
        const long long dx = (o.left + o.right - r.left - r.right) / 2;
        const long long dy = (o.top + o.bottom - r.top - r.bottom) / 2;
        if (dx * dx + dy * dy < bestDistance) {
            bestDistance = dx * dx + dy * dy;
            best = id;
        }
    }
    return best;
}

void AccessibleTree::forget(const Control* subtree) {
    if (m_ids.empty() || !subtree) return;
    // Few ids (focus events gave them, no client read the tree): look at those, not at every removed control,
    // so a rebuild of a long list stays as cheap as with no tree at all.
    constexpr std::size_t kFewIds = 32;
    if (m_ids.size() <= kFewIds) {
        for (auto it = m_ids.begin(); it != m_ids.end();) {
            const Control* c = it->first;
            while (c && c != subtree) c = c->parentControl();
            if (!c) {
                ++it;
                continue;
            }
            m_controls.erase(it->second);
            it = m_ids.erase(it);
        }
        return;
    }
    std::vector<const Control*> pending{subtree};
    while (!pending.empty()) {
        const Control* c = pending.back();
        pending.pop_back();
        if (const auto it = m_ids.find(c); it != m_ids.end()) {
            m_controls.erase(it->second);
            m_ids.erase(it);
        }
        std::vector<Control*> kids;
        c->children(kids);
        pending.insert(pending.end(), kids.begin(), kids.end());
    }
}

} // namespace ui
