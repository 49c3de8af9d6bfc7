#pragma once
// Language codes ("zh_CN", "en_US", ...) from a Windows language identifier: the user-interface language
// the program starts in when the settings name none. Pure mapping; it never fails, an unknown language
// gives the empty code.

#include <cstdint>
#include <string>

namespace common::lang {

// The code for a language identifier (primary language in the low 10 bits); empty for a language the
// program does not know.
std::wstring languageCodeFromLangId(std::uint16_t langId);

// The code of the operating system's user-interface language.
std::wstring osDefaultLanguageCode();

} // namespace common::lang
