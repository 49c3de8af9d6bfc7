#include "core/lang/LanguageTable.h"

#include <optional>
#include <vector>

#include "core/log/Log.h"
#include "core/text/Utf.h"

namespace common::lang {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Splits the text into rows at CR, LF or CR LF.
class RowReader {
public:
    explicit RowReader(std::string_view text) : m_rest(text) {}
    std::optional<std::string_view> next() {
        if (m_rest.empty()) return std::nullopt;
        const std::size_t end = m_rest.find_first_of("\r\n");
        const std::string_view row = m_rest.substr(0, end);
        if (end == std::string_view::npos) {
            m_rest = {};
        } else {
            const bool crlf = m_rest[end] == '\r' && end + 1 < m_rest.size() && m_rest[end + 1] == '\n';
            m_rest.remove_prefix(end + (crlf ? 2 : 1));
        }
        return row;
    }

private:
    std::string_view m_rest;
};

std::vector<std::string_view> splitCells(std::string_view row) {
    std::vector<std::string_view> cells;
    for (;;) {
        const std::size_t tab = row.find('\t');
        cells.push_back(row.substr(0, tab));
        if (tab == std::string_view::npos) return cells;
        row.remove_prefix(tab + 1);
    }
}

// The cell at `index` without splitting more of the row than needed (rows may hold very many cells).
std::optional<std::string_view> cellAt(std::string_view row, std::size_t index) {
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t tab = row.find('\t');
        if (tab == std::string_view::npos) return std::nullopt;
        row.remove_prefix(tab + 1);
    }
    return row.substr(0, row.find('\t'));
}

bool isValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t cp = 0;
        if (c < 0x80)
            extra = 0, cp = c;
        else if ((c & 0xE0) == 0xC0)
            extra = 1, cp = c & 0x1F;
        else if ((c & 0xF0) == 0xE0)
            extra = 2, cp = c & 0x0F;
        else if ((c & 0xF8) == 0xF0)
            extra = 3, cp = c & 0x07;
        else
            return false;
        if (extra > s.size() - i - 1) return false; // cut short at the end
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        static constexpr std::uint32_t kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// Row 1 and row 2 make a table: at least two cells in row 1 and "language_name" in row 2's cell 1 (which
// also gives row 2 the two cells it needs when row 1 does not say "language_code").
bool headerIsValid(const std::vector<std::string_view>& codes, std::string_view namesRow) {
    return codes.size() >= 2 && cellAt(namesRow, 1) == std::optional<std::string_view>("language_name");
}

std::size_t chooseColumn(const std::vector<std::string_view>& codes, std::wstring_view resourceLanguage) {
    const std::string wanted = text::toUtf8(resourceLanguage);
    for (std::size_t i = 2; i < codes.size(); ++i) { // cells 0 and 1 are never a language's code
        if (codes[i] == wanted) return i;
    }
    return 2;
}

} // namespace

StringMap parseLanguageTable(std::string_view utf8, std::wstring_view resourceLanguage) {
    if (utf8.substr(0, kUtf8Bom.size()) == kUtf8Bom) utf8.remove_prefix(kUtf8Bom.size());
    RowReader rows(utf8);
    const auto codesRow = rows.next();
    const auto namesRow = rows.next();
    StringMap map;
    if (!codesRow || !namesRow || !headerIsValid(splitCells(*codesRow), *namesRow)) {
        KVLOG(L"language table has no language_code/language_name rows: nothing loaded");
        return map;
    }
    const std::size_t column = chooseColumn(splitCells(*codesRow), resourceLanguage);
    std::size_t damaged = 0;
    while (const auto row = rows.next()) {
        if (!row->empty() && row->front() == '\0') break;
        const auto key = cellAt(*row, 1);
        const auto value = cellAt(*row, column);
        if (!key || !value) continue; // shorter than the column
        if (!isValidUtf8(*key) || !isValidUtf8(*value)) {
            ++damaged;
            continue;
        }
        map.emplace(text::fromUtf8(*key), text::fromUtf8(*value));
    }
    if (damaged > 0) KVLOG(L"language table: %d rows skipped, not UTF-8", static_cast<long long>(damaged));
    KVLOG(L"language table: column %d, %d texts", static_cast<long long>(column), static_cast<long long>(map.size()));
    return map;
}

} // namespace common::lang
