#pragma once
// What install discovery reads from the system: the configuration file beside the program, the registry,
// the desktop's shortcuts and the emulator executables' version resources. Windows implements it for
// real (platform/win32/model/InstallSources_win); native tests use a fake.

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

class InstallSources {
public:
    virtual ~InstallSources() = default;

    // Value of `key` in section "setting" of "pathconfig.ini" beside the program; empty when absent.
    virtual std::wstring readPathConfig(std::wstring_view key) = 0;
    [[nodiscard]] virtual bool writePathConfig(std::wstring_view key, std::wstring_view value) = 0;
    // String value "InstallDir" of the current user's key (64-bit view); empty when missing.
    virtual std::wstring registryInstallDir(std::wstring_view subKey) = 0;
    // The current user's desktop folder; empty when it cannot be determined.
    virtual std::filesystem::path desktopFolder() = 0;
    // Target of a shortcut file; empty when it does not resolve.
    virtual std::filesystem::path resolveShortcut(const std::filesystem::path& shortcut) = 0;
    // File version as "%d.%d.%d.%d"; empty when the file has no version resource.
    virtual std::wstring fileVersionText(const std::filesystem::path& file) = 0;
    virtual bool fileExists(const std::filesystem::path& file) = 0;
};

} // namespace platform
