#include "core/model/VersionChecks.h"

#include "core/log/Log.h"

namespace model {
namespace {

// The leading decimal digits of `text` (at most `count` characters) as a number; 0 when none.
int leadingNumber(std::wstring_view text, std::size_t count) {
    int n = 0;
    for (std::size_t i = 0; i < count && i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        n = n * 10 + (text[i] - L'0');
    return n;
}

bool executablePresent(platform::InstallSources& sources, const std::filesystem::path& exe) {
    if (sources.fileExists(exe)) return true;
    KVLOG(L"player.exe is not exist player");
    return false;
}

} // namespace

std::filesystem::path playerExecutable(const std::wstring& folder) {
    return std::filesystem::path(folder) / L"rqplayer.exe";
}

bool isLessThan9Player(std::wstring_view version, const std::filesystem::path& exe) {
    if (version.size() > 2 && leadingNumber(version, 1) < 9) return true;
    KVLOG(L"%s it is 9 player", exe);
    return false;
}

bool isMoreThan9Player(std::wstring_view version, const std::filesystem::path& exe) {
    if (version.size() > 2 && leadingNumber(version, 1) < 6) {
        KVLOG(L"%s not more 9 Player", exe);
        return false;
    }
    return true;
}

bool isAndroid14Player(std::wstring_view version) {
    return version.size() > 2 && leadingNumber(version, 2) >= 14;
}

bool isPlayerPathIsRightFor4_5(platform::InstallSources& sources, const std::wstring& folder) {
    if (folder.empty()) return false;
    const auto exe = playerExecutable(folder);
    if (!executablePresent(sources, exe)) return false;
    if (!isLessThan9Player(sources.fileVersionText(exe), exe)) {
        KVLOG(L"path  is not right");
        return false;
    }
    return true;
}

bool isPlayer9PathIsRight(platform::InstallSources& sources, const std::wstring& folder) {
    if (folder.empty()) return false;
    const auto exe = playerExecutable(folder);
    if (!executablePresent(sources, exe)) return false;
    const std::wstring version = sources.fileVersionText(exe);
    if (!isMoreThan9Player(version, exe) || isAndroid14Player(version)) {
        KVLOG(L"path 9 is not right");
        return false;
    }
    return true;
}

bool isPlayer14PathIsRight(platform::InstallSources& sources, const std::wstring& folder) {
    if (folder.empty()) return false;
    const auto exe = playerExecutable(folder);
    if (!executablePresent(sources, exe)) return false;
    if (!isAndroid14Player(sources.fileVersionText(exe))) {
        KVLOG(L"path 14 is not right");
        return false;
    }
    return true;
}

bool folderPassesCheck(platform::InstallSources& sources, KV_PRODUCT_TYPE line, const std::wstring& folder) {
    switch (product::productLine(line).check) {
    case product::FolderCheck::Android71Or51:
        return isPlayerPathIsRightFor4_5(sources, folder);
    case product::FolderCheck::Android9:
        return isPlayer9PathIsRight(sources, folder);
    case product::FolderCheck::Android14:
        return isPlayer14PathIsRight(sources, folder);
    }
    return false;
}

std::wstring_view minimumSupportedVersion(KV_PRODUCT_TYPE line) {
    switch (line) {
    case KV_PRODUCT_71_32:
    case KV_PRODUCT_71_64:
        return L"5.0.9.0";
    case KV_PRODUCT_9:
        return L"9.0.50.0";
    case KV_PRODUCT_51:
        return L"3.127.0.0";
    case KV_PRODUCT_14:
        return L"";
    }
    return L"";
}

bool versionAtLeast(std::wstring_view version, std::wstring_view threshold) {
    return version.compare(threshold) >= 0;
}

} // namespace model
