#include "core/lang/LanguageCode.h"

#include "core/platform/Language.h"

namespace common::lang {

namespace {

constexpr std::uint16_t kPrimaryChinese = 4;

struct PrimaryCode {
    std::uint16_t primary;
    const wchar_t* code;
};
constexpr PrimaryCode kCodes[] = {
    {18, L"ko_KR"}, {9, L"en_US"},  {42, L"vi_VN"}, {30, L"th_TH"}, {25, L"ru_RU"}, {34, L"uk_UA"},
    {22, L"pt_PT"}, {31, L"tr_TR"}, {10, L"es_ES"}, {12, L"fr_FR"}, {7, L"de_DE"},  {17, L"ja_JP"},
    {33, L"in_ID"}, {1, L"ar_IL"},  {41, L"fa_IR"}, {57, L"hi_IN"}, {16, L"it_IT"}, {62, L"ms_MY"},
};

bool isTraditionalChinese(std::uint16_t langId) {
    // Taiwan, Hong Kong, Macao and the neutral traditional identifier.
    return langId == 1028 || langId == 3076 || langId == 5124 || langId == 31748;
}

} // namespace

std::wstring languageCodeFromLangId(std::uint16_t langId) {
    const std::uint16_t primary = langId & 0x3FF;
    if (primary == kPrimaryChinese) return isTraditionalChinese(langId) ? L"zh_TW" : L"zh_CN";
    for (const auto& entry : kCodes) {
        if (entry.primary == primary) return entry.code;
    }
    return {};
}

std::wstring osDefaultLanguageCode() {
    return languageCodeFromLangId(platform::userDefaultUiLanguageId());
}

} // namespace common::lang
