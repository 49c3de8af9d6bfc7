#pragma once
// The named controls below a root, in a table made once: a list rebuild asks every row for some twenty of its
// controls, and walking the row each time costs more than the rest of the rebuild. Names stay with their
// controls, so the table keys on views of them; collect again after the tree below the root changes.

#include <string_view>
#include <unordered_map>

#include "toolkit/Control.h"

namespace ui {

class NamedParts {
public:
    void collect(Control& root);
    template <class T = Control>
    T* find(std::wstring_view name) const {
        const auto it = m_parts.find(name);
        return it == m_parts.end() ? nullptr : dynamic_cast<T*>(it->second);
    }

private:
    std::unordered_map<std::wstring_view, Control*> m_parts;
};

} // namespace ui
