#pragma once
// The process-wide string map: every text the windows show, looked up by its language-table key.
//
// Filled once when the resources are loaded; any thread may look up. A missing key is never an error:
// `lookUp` says so, `lookUpWithFallback` makes the key its own text (so a name built from it still works).

#include <optional>
#include <string>
#include <string_view>

#include "core/lang/LanguageTable.h"

namespace common::lang {

void setLanguageStrings(StringMap strings);
// The text of the key, or nothing when the table has no such key.
std::optional<std::wstring> lookUp(std::wstring_view key);
// The text of the key; an absent key is inserted as its own text and returned.
std::wstring lookUpWithFallback(std::wstring_view key);

} // namespace common::lang
