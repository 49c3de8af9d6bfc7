#include "toolkit/NamedParts.h"

#include <vector>

namespace ui {

void NamedParts::collect(Control& root) {
    m_parts.clear();
    std::vector<Control*> pending{&root};
    while (!pending.empty()) {
        Control* c = pending.back();
        pending.pop_back();
        if (!c->name().empty()) m_parts.emplace(c->name(), c);
        c->children(pending);
    }
}

} // namespace ui
