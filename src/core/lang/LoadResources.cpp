#include "core/lang/LoadResources.h"

#include <system_error>

#include "core/formats/FileBytes.h"
#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"

namespace common::lang {

namespace {

constexpr const wchar_t* kTableName = L"multi_language.tsv";
constexpr std::size_t kMinPackedTableBytes = 11; // a packed table of 10 bytes or less is taken as missing

std::wstring g_resourceLanguage;
std::filesystem::path g_skinFolder;
rcc::ResourcePack g_pack;

StringMap tableFromFile(const std::filesystem::path& path, std::wstring_view language) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    const auto bytes = (!ec && size >= 1) ? formats::readFileBytes(path, kMaxLanguageTableBytes) : std::nullopt;
    if (!bytes) {
        KVLOG(L"%s is empty, too large or unreadable: no texts loaded", path.wstring());
        return {};
    }
    return parseLanguageTable(*bytes, language);
}

} // namespace

StringMap loadLanguageTable(const std::filesystem::path& programFolder, const rcc::ResourcePack& pack,
                            std::wstring_view language) {
    const auto local = programFolder / kTableName;
    std::error_code ec;
    if (std::filesystem::exists(local, ec)) return tableFromFile(local, language);
    const auto packed = pack.entry("multi_language.tsv");
    if (!packed || packed->size() < kMinPackedTableBytes) {
        KVLOG(L"no language table in the resource pack: no texts loaded");
        return {};
    }
    return parseLanguageTable(*packed, language);
}

void loadResources(const std::filesystem::path& programFolder, std::wstring_view language,
                   std::wstring_view fallbackCode) {
    g_resourceLanguage = std::wstring(language.empty() ? fallbackCode : language);
    g_skinFolder = programFolder / L"skin";
    // Without a pack the skin folder beside the program still serves; open logs why the pack is unusable.
    (void)g_pack.open(programFolder / L"rqresource.rcc");
    setLanguageStrings(loadLanguageTable(programFolder, g_pack, g_resourceLanguage));
}

const std::wstring& resourceLanguage() {
    return g_resourceLanguage;
}
const std::filesystem::path& skinFolder() {
    return g_skinFolder;
}
const rcc::ResourcePack& resourcePack() {
    return g_pack;
}

} // namespace common::lang
