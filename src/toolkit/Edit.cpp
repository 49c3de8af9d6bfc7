#include "toolkit/Edit.h"

#include <algorithm>

#include "toolkit/Clipboard.h"
#include "toolkit/Window.h"

namespace ui {

namespace {

bool isLineBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

bool isSpace(wchar_t c) {
    return c == L' ' || c == L'\t';
}

} // namespace

bool Edit::setAttribute(std::wstring_view name, std::wstring_view value) {
    if (name == L"maxchar")
        m_maxChars = static_cast<std::size_t>(std::max(0, parseInteger(value).value_or(255)));
    else if (name == L"readonly")
        m_readOnly = parseBool(value);
    else if (name == L"numberonly")
        m_numberOnly = parseBool(value);
    else if (name == L"password")
        m_password = parseBool(value);
    else if (name == L"showhtml")
        m_showMarkup = parseBool(value);
    else if (name == L"selectedcolor")
        m_selectedColor = parseColor(value).value_or(m_selectedColor);
    else if (name == L"normalimage")
        m_normalImage = parseImageSpec(value);
    else if (name == L"hotimage")
        m_hotImage = parseImageSpec(value);
    else if (name == L"focusedimage" || name == L"pushedimage")
        m_focusedImage = parseImageSpec(value);
    else if (name == L"disabledimage")
        m_disabledImage = parseImageSpec(value);
    else
        return Control::setAttribute(name, value);
    return true;
}

void Edit::setStateImages(std::wstring_view normal, std::wstring_view hot, std::wstring_view focused) {
    m_normalImage = parseImageSpec(normal);
    m_hotImage = parseImageSpec(hot);
    m_focusedImage = parseImageSpec(focused);
}

void Edit::setText(std::wstring_view text) {
    Control::setText(text);
    select(m_text.size(), m_text.size());
}

void Edit::select(std::size_t anchor, std::size_t caret) {
    m_anchor = std::min(anchor, m_text.size());
    m_caret = std::min(caret, m_text.size());
    scrollToCaret();
    repaint();
}

void Edit::moveCaret(std::size_t to, bool extend) {
    select(extend ? m_anchor : to, to);
}

// Like the system's edits: backwards to the start of the word before the caret, forwards past the word and the
// spaces after it.
std::size_t Edit::wordBoundary(bool forward) const {
    std::size_t i = m_caret;
    if (forward) {
        while (i < m_text.size() && !isSpace(m_text[i])) ++i;
        while (i < m_text.size() && isSpace(m_text[i])) ++i;
    } else {
        while (i > 0 && isSpace(m_text[i - 1])) --i;
        while (i > 0 && !isSpace(m_text[i - 1])) --i;
    }
    return i;
}

// What the box takes of `input`: a line break between two pieces of text becomes one space and those at the
// ends go (a line copied from elsewhere usually ends in one), other control characters go, a number box
// drops what is not a digit, and the result is cut to the room left beside the replaced selection.
std::wstring Edit::accepted(std::wstring_view input) const {
    std::wstring out;
    bool pendingSpace = false;
    for (const wchar_t c : input) {
        if (isLineBreak(c)) {
            pendingSpace = !out.empty();
            continue;
        }
        if (c < 0x20 || c == 0x7F || (m_numberOnly && (c < L'0' || c > L'9'))) continue;
        if (pendingSpace && !m_numberOnly) out += L' ';
        pendingSpace = false;
        out += c;
    }
    const auto [first, last] = selection();
    const std::size_t kept = m_text.size() - (last - first);
    out.resize(std::min(out.size(), m_maxChars > kept ? m_maxChars - kept : 0));
    if (!out.empty() && out.back() >= 0xD800 && out.back() <= 0xDBFF) out.pop_back(); // no half character
    return out;
}

// Replaces the selection with what the box accepts of `with` (empty: deletes it). Input of which nothing is
// accepted changes nothing, so a refused key never deletes the selection.
bool Edit::replaceSelection(std::wstring_view with) {
    if (m_readOnly) return false;
    const std::wstring insert = accepted(with);
    const auto [first, last] = selection();
    if ((!with.empty() && insert.empty()) || (insert.empty() && first == last)) return false;
    m_text.replace(first, last - first, insert);
    select(first + insert.size(), first + insert.size());
    notify(events::kTextChanged); // may delete this edit: nothing after it
    return true;
}

void Edit::copySelection() {
    const auto [first, last] = selection();
    Clipboard* clipboard = m_window ? m_window->clipboard() : nullptr;
    // Nothing leaves a password box.
    if (clipboard && !m_password && first < last)
        clipboard->setText(std::wstring_view(m_text).substr(first, last - first));
}

void Edit::onChar(wchar_t c) {
    if (c >= 0x20 && c != 0x7F) replaceSelection(std::wstring_view(&c, 1));
}

bool Edit::command(Key key, bool shift) {
    switch (key) {
    case Key::A:
        select(0, m_text.size());
        return true;
    case Key::C:
        copySelection();
        return true;
    case Key::X:
        if (m_readOnly || m_password) return true;
        copySelection();
        replaceSelection({});
        return true;
    case Key::V:
        if (Clipboard* clipboard = m_window ? m_window->clipboard() : nullptr) replaceSelection(clipboard->text());
        return true;
    case Key::Left:
    case Key::Right:
        moveCaret(wordBoundary(key == Key::Right), shift);
        return true;
    default:
        return false;
    }
}

bool Edit::onKey(Key key, KeyModifiers mods) {
    if (mods.ctrl && command(key, mods.shift)) return true;
    const auto [first, last] = selection();
    const bool selected = first < last;
    switch (key) {
    case Key::Return:
        notify(events::kReturn);
        return true;
    case Key::Left:
        moveCaret(selected && !mods.shift ? first : stepBack(m_caret), mods.shift);
        return true;
    case Key::Right:
        moveCaret(selected && !mods.shift ? last : stepForward(m_caret), mods.shift);
        return true;
    case Key::Home:
    case Key::End:
        moveCaret(key == Key::Home ? 0 : m_text.size(), mods.shift);
        return true;
    case Key::Back:
    case Key::Delete:
        if (!selected && !m_readOnly) {
            const bool back = key == Key::Back;
            if (back ? m_caret == 0 : m_caret >= m_text.size()) return true;
            m_anchor = back ? stepBack(m_caret) : stepForward(m_caret);
        }
        replaceSelection({});
        return true;
    default:
        return false;
    }
}

} // namespace ui
