#include "core/lang/LanguageProfile.h"

#include "core/lang/LanguageCode.h"
#include "core/log/Log.h"
#include "core/platform/Language.h"

namespace common::lang {

namespace {

const LanguageProfile kProfiles[] = {
    {L"zh_CN", L"Microsoft YaHei"}, {L"zh_TW", L"Microsoft YaHei"}, {L"ko_KR", L"NanumGothicOTFLight"},
    {L"en_US", L"Roboto"},          {L"ja_JP", L"Arial"},           {L"ru_RU", L"Roboto"},
    {L"vi_VN", L"Roboto"},          {L"th_TH", L"Roboto"},          {L"es_ES", L"Roboto"},
    {L"ar_IL", L"Roboto"},          {L"fa_IR", L"Roboto"},          {L"de_DE", L"Roboto"},
    {L"fr_FR", L"Roboto"},          {L"in_ID", L"Roboto"},          {L"pt_PT", L"\u5fae\u8f6f\u96c5\u9ed1"},
};
constexpr std::size_t kDefaultProfile = 3; // en_US

LanguageProfile g_current = kProfiles[kDefaultProfile];
std::wstring g_currentCode;

} // namespace

const LanguageProfile* findLanguageProfile(std::wstring_view code) {
    for (const auto& profile : kProfiles) {
        if (profile.code == code) return &profile;
    }
    return nullptr;
}

std::span<const LanguageProfile> languageProfiles() {
    return kProfiles;
}

const LanguageProfile& defaultLanguageProfile() {
    return kProfiles[kDefaultProfile];
}

LanguageProfile chooseLanguageProfile(std::wstring_view requested, std::wstring_view secondRequested,
                                      std::wstring_view osDefaultCode) {
    const std::wstring_view code =
        !requested.empty() ? requested : (!secondRequested.empty() ? secondRequested : osDefaultCode);
    if (const LanguageProfile* profile = findLanguageProfile(code)) return *profile;
    // A language without a profile: its own texts, the default font face.
    LanguageProfile profile = defaultLanguageProfile();
    profile.code = std::wstring(code);
    return profile;
}

const LanguageProfile& selectLanguage(std::wstring_view requested, std::wstring_view secondRequested,
                                      LanguageIdSource osLanguageId) {
    std::wstring osCode;
    if (requested.empty() && secondRequested.empty()) {
        osCode = languageCodeFromLangId(osLanguageId ? osLanguageId() : platform::userDefaultUiLanguageId());
    }
    g_current = chooseLanguageProfile(requested, secondRequested, osCode);
    g_currentCode = g_current.code;
    KVLOG(L"language %s, font %s", g_current.code, g_current.fontFace);
    return g_current;
}

const LanguageProfile& currentLanguageProfile() {
    return g_current;
}
const std::wstring& currentLanguageCode() {
    return g_currentCode;
}

} // namespace common::lang
