#pragma once
// The language table "multi_language.tsv": UTF-8 text, one row per line, cells separated by tabs.
//
//   row 1: "", "language_code", code of column 2, code of column 3, ...
//   row 2: "", "language_name", display names ...
//   rows:  "", key, text in column 2's language, text in column 3's language, ...
//
// Cell 0 is never read. Parsing picks one column and returns key → text for it. A table without a
// "language_name" row loads nothing; a row too short for the column, or holding bytes that are not UTF-8,
// is skipped. Parsing never fails: damage gives fewer texts and a log line.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace common::lang {

using StringMap = std::unordered_map<std::wstring, std::wstring>;

// Key → text of the column whose row-1 cell equals `resourceLanguage`, else of column 2.
StringMap parseLanguageTable(std::string_view utf8, std::wstring_view resourceLanguage);

} // namespace common::lang
