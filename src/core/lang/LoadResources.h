#pragma once
// Loading the user-interface resources at start-up: the resource language, the skin folder, the resource
// pack "rqresource.rcc" and the language table, all below the program's folder.
//
// The table comes from "multi_language.tsv" in the program's folder when that file exists (so a translator
// can try a table without rebuilding the pack), otherwise from the pack. Nothing here fails: a missing pack
// or table leaves the strings empty, every look-up then finds nothing, and the log says why. The Windows
// application hands its module instance to the toolkit itself; this part needs none.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/lang/LanguageTable.h"
#include "core/resources/ResourcePack.h"

namespace common::lang {

inline constexpr std::uint64_t kMaxLanguageTableBytes = 4ull * 1024 * 1024;

// Sets the resource language (`resourceLanguage`, or `fallbackCode` when it is empty), the skin folder and
// the pack, then loads the table's column of that language into the string map.
void loadResources(const std::filesystem::path& programFolder, std::wstring_view resourceLanguage,
                   std::wstring_view fallbackCode);

// The table for `resourceLanguage`: the program folder's file when it exists, else the pack's entry.
StringMap loadLanguageTable(const std::filesystem::path& programFolder, const rcc::ResourcePack& pack,
                            std::wstring_view resourceLanguage);

const std::wstring& resourceLanguage();
const std::filesystem::path& skinFolder();
const rcc::ResourcePack& resourcePack();

} // namespace common::lang
