// Any bytes as a language table. The first byte picks the resource language, so column choice is fuzzed too.

#include <cstddef>
#include <cstdint>

#include "core/lang/LanguageTable.h"
#include "support/LogCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log; // lines are formatted too, and kept for this input only
    static const wchar_t* const kLanguages[] = {L"en_US", L"zh_CN", L"ja_JP", L""};
    const wchar_t* language = kLanguages[size > 0 ? data[0] % 4 : 0];
    (void)common::lang::parseLanguageTable(std::string_view(reinterpret_cast<const char*>(data), size), language);
    return 0;
}
