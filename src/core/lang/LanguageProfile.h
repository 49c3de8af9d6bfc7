#pragma once
// Language profiles and the selection of the user-interface language at start-up.
//
// A profile pairs a language code with the font face the windows use. Selection takes the codes asked for
// (the settings' choice, in order) and falls back to the operating system's language; a code without a
// profile of its own keeps that code for the texts with the default profile's font face. Selection never
// fails. The current profile is process-wide, set on the UI thread at start-up.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace common::lang {

struct LanguageProfile {
    std::wstring code;
    std::wstring fontFace;
};

// The profile of a code, or null when the program has none for it.
const LanguageProfile* findLanguageProfile(std::wstring_view code);
// Every language the program has a profile for, in the order the settings offer them.
std::span<const LanguageProfile> languageProfiles();
// "en_US" with "Roboto".
const LanguageProfile& defaultLanguageProfile();

// The profile for the first non-empty requested code, else `osDefaultCode` (pure; see selectLanguage).
LanguageProfile chooseLanguageProfile(std::wstring_view requested, std::wstring_view secondRequested,
                                      std::wstring_view osDefaultCode);

using LanguageIdSource = std::uint16_t (*)();

// Chooses the profile, makes it current and sets the current language code. The operating system is asked
// only when both requested codes are empty.
const LanguageProfile& selectLanguage(std::wstring_view requested, std::wstring_view secondRequested,
                                      LanguageIdSource osLanguageId = nullptr);

const LanguageProfile& currentLanguageProfile(); // the default profile until a selection
const std::wstring& currentLanguageCode();       // empty until a selection

} // namespace common::lang
