#pragma once
// Telling the product lines' install folders apart by the version of the "rqplayer.exe" inside.
//
// The checks read only the first one or two characters of the version text, so "14.0.1.2" passes the
// 7.1/5.1 check (its first character is 1) as well as the Android 14 check.

#include <filesystem>
#include <string>
#include <string_view>

#include "core/platform/InstallSources.h"
#include "core/product/ProductLine.h"

namespace model {

bool isLessThan9Player(std::wstring_view version, const std::filesystem::path& exe);
bool isMoreThan9Player(std::wstring_view version, const std::filesystem::path& exe);
bool isAndroid14Player(std::wstring_view version);

bool isPlayerPathIsRightFor4_5(platform::InstallSources& sources, const std::wstring& folder);
bool isPlayer9PathIsRight(platform::InstallSources& sources, const std::wstring& folder);
bool isPlayer14PathIsRight(platform::InstallSources& sources, const std::wstring& folder);
bool folderPassesCheck(platform::InstallSources& sources, KV_PRODUCT_TYPE line, const std::wstring& folder);

// The lowest version (compared as text, character by character) of a line's executable that the group
// control features accept; empty for line 4, which is always accepted.
std::wstring_view minimumSupportedVersion(KV_PRODUCT_TYPE line);
bool versionAtLeast(std::wstring_view version, std::wstring_view threshold);

std::filesystem::path playerExecutable(const std::wstring& folder);

} // namespace model
