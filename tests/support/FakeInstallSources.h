#pragma once
// An in-memory system for install discovery: config values, registry values, shortcuts, executables and
// their versions, with a record of what discovery asked for.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/platform/InstallSources.h"

namespace testing_support {

class FakeInstallSources : public platform::InstallSources {
public:
    std::map<std::wstring, std::wstring> config;   // pathconfig.ini [setting]
    std::map<std::wstring, std::wstring> registry; // sub key → InstallDir
    std::filesystem::path desktop = L"C:\\Users\\me\\Desktop";
    std::map<std::wstring, std::wstring> shortcuts;   // shortcut path → target
    std::map<std::wstring, std::wstring> executables; // exe path → version text ("" = no version resource)
    std::vector<std::wstring> registryReads;
    std::vector<std::wstring> shortcutReads;

    // An install folder whose rqplayer.exe has `version`.
    void install(const std::wstring& folder, const std::wstring& version) {
        executables[(std::filesystem::path(folder) / L"rqplayer.exe").wstring()] = version;
    }

    // A desktop shortcut (its name as the line table gives it, "\\KVPlayer.lnk") to the folder's rqplayer.exe.
    void shortcut(const std::wstring& name, const std::wstring& folder) {
        shortcuts[desktop.wstring() + name] = (std::filesystem::path(folder) / L"rqplayer.exe").wstring();
    }

    std::wstring readPathConfig(std::wstring_view key) override {
        auto it = config.find(std::wstring(key));
        return it == config.end() ? L"" : it->second;
    }
    bool writePathConfig(std::wstring_view key, std::wstring_view value) override {
        config[std::wstring(key)] = value;
        return true;
    }
    std::wstring registryInstallDir(std::wstring_view subKey) override {
        registryReads.emplace_back(subKey);
        auto it = registry.find(std::wstring(subKey));
        return it == registry.end() ? L"" : it->second;
    }
    std::filesystem::path desktopFolder() override { return desktop; }
    std::filesystem::path resolveShortcut(const std::filesystem::path& shortcut) override {
        shortcutReads.push_back(shortcut.wstring());
        auto it = shortcuts.find(shortcut.wstring());
        return it == shortcuts.end() ? std::filesystem::path() : std::filesystem::path(it->second);
    }
    std::wstring fileVersionText(const std::filesystem::path& file) override {
        auto it = executables.find(file.wstring());
        return it == executables.end() ? L"" : it->second;
    }
    bool fileExists(const std::filesystem::path& file) override { return executables.count(file.wstring()) != 0; }
};

} // namespace testing_support
