#include "platform/win32/model/InstallSources_win.h"

#include <shlobj.h>
#include <windows.h>

#include "platform/win32/model/FileVersion_win.h"
#include "platform/win32/model/RegKeyEx_win.h"
#include "platform/win32/model/ShortcutResolver_win.h"

namespace platform::win32 {

Win32InstallSources::Win32InstallSources(std::filesystem::path programFolder)
    : m_iniPath(std::move(programFolder) / L"pathconfig.ini") {}

std::wstring Win32InstallSources::readPathConfig(std::wstring_view key) {
    wchar_t buffer[1024] = {};
    const std::wstring name(key);
    const DWORD n = GetPrivateProfileStringW(L"setting", name.c_str(), L"", buffer, 1024, m_iniPath.c_str());
    return std::wstring(buffer, n);
}

bool Win32InstallSources::writePathConfig(std::wstring_view key, std::wstring_view value) {
    const std::wstring name(key);
    const std::wstring text(value);
    return WritePrivateProfileStringW(L"setting", name.c_str(), text.c_str(), m_iniPath.c_str()) != 0;
}

std::wstring Win32InstallSources::registryInstallDir(std::wstring_view subKey) {
    utility::RegKeyEx key;
    std::wstring value;
    if (key.RegRegOpen(HKEY_CURRENT_USER, subKey, KEY_READ | KEY_WOW64_64KEY) == ERROR_SUCCESS)
        key.RegRead(L"InstallDir", value);
    return value;
}

std::filesystem::path Win32InstallSources::desktopFolder() {
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
    return std::filesystem::path(path);
}

std::filesystem::path Win32InstallSources::resolveShortcut(const std::filesystem::path& shortcut) {
    return resolveShortcutFromFile(shortcut);
}

std::wstring Win32InstallSources::fileVersionText(const std::filesystem::path& file) {
    return win32::fileVersionText(file);
}

bool Win32InstallSources::fileExists(const std::filesystem::path& file) {
    const DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace platform::win32
