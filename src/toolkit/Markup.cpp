#include "toolkit/Markup.h"

namespace ui {

namespace {

struct Style {
    std::optional<Argb> color;
    bool selected = false;
    char tag = 0; // 'c' or 's': what closes this level
};

class MarkupParser {
public:
    explicit MarkupParser(std::wstring_view text) : m_text(text) { m_stack.push_back({}); }

    std::vector<TextRun> run() {
        std::size_t i = 0;
        while (i < m_text.size()) {
            if (m_text[i] == L'<') {
                const auto close = m_text.find(L'>', i);
                if (close != std::wstring_view::npos && applyTag(m_text.substr(i + 1, close - i - 1))) {
                    i = close + 1;
                    continue;
                }
            }
            m_pending.push_back(m_text[i++]);
        }
        flush();
        return std::move(m_runs);
    }

private:
    bool applyTag(std::wstring_view tag) {
        if (tag == L"s") return open({m_stack.back().color, true, 's'});
        if (tag == L"/s" || tag == L"/c") return closeTag(static_cast<char>(tag[1]));
        if (tag.size() > 2 && tag[0] == L'c' && tag[1] == L' ') {
            std::wstring_view value = tag.substr(2);
            while (!value.empty() && value.front() == L' ') value.remove_prefix(1);
            const auto color = parseColor(value);
            if (!color) return false;
            return open({color, m_stack.back().selected, 'c'});
        }
        return false;
    }

    bool open(const Style& style) {
        flush();
        m_stack.push_back(style);
        return true;
    }

    bool closeTag(char tag) {
        flush();
        // Close up to the innermost level this tag opened; a stray closing tag changes nothing.
        for (std::size_t level = m_stack.size(); level-- > 1;) {
            if (m_stack[level].tag == tag) {
                m_stack.resize(level);
                break;
            }
        }
        return true;
    }

    void flush() {
        if (m_pending.empty()) return;
        const Style& style = m_stack.back();
        if (!m_runs.empty() && m_runs.back().color == style.color && m_runs.back().selected == style.selected)
            m_runs.back().text += m_pending;
        else
            m_runs.push_back({m_pending, style.color, style.selected});
        m_pending.clear();
    }

    std::wstring_view m_text;
    std::vector<Style> m_stack;
    std::vector<TextRun> m_runs;
    std::wstring m_pending;
};

} // namespace

std::vector<TextRun> parseMarkup(std::wstring_view text) {
    return MarkupParser(text).run();
}

std::wstring plainText(const std::vector<TextRun>& runs) {
    std::wstring out;
    for (const auto& run : runs) out += run.text;
    return out;
}

} // namespace ui
