#pragma once
// Install discovery's view of a Windows machine: "pathconfig.ini" beside the program (profile API,
// 1024-character values), the current user's registry (64-bit view), the desktop folder, shortcut files and
// file version resources.

#include "core/platform/InstallSources.h"

namespace platform::win32 {

class Win32InstallSources final : public platform::InstallSources {
public:
    // `programFolder`: where "pathconfig.ini" lies.
    explicit Win32InstallSources(std::filesystem::path programFolder);

    std::wstring readPathConfig(std::wstring_view key) override;
    bool writePathConfig(std::wstring_view key, std::wstring_view value) override;
    std::wstring registryInstallDir(std::wstring_view subKey) override;
    std::filesystem::path desktopFolder() override;
    std::filesystem::path resolveShortcut(const std::filesystem::path& shortcut) override;
    std::wstring fileVersionText(const std::filesystem::path& file) override;
    bool fileExists(const std::filesystem::path& file) override;

private:
    std::filesystem::path m_iniPath;
};

} // namespace platform::win32
