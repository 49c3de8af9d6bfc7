#include "core/model/InstallDiscovery.h"

#include "core/log/Log.h"
#include "core/model/VersionChecks.h"
#include "core/text/Utf.h"

namespace model {
namespace {

constexpr const char* kLogName = "KVMultiModel::getPlayerPath";

std::wstring configKeyOf(KV_PRODUCT_TYPE line) {
    return common::text::fromUtf8(product::productLine(line).configKey);
}

// "32 player path %s" and its siblings: the line's short name without "player".
std::wstring shortName(KV_PRODUCT_TYPE line) {
    return std::wstring(product::productLine(line).logName.substr(6));
}

void fromConfigFile(platform::InstallSources& sources, InstallFolders& folders) {
    KVLOG_AS(kLogName, L"read path from pathconfig.ini");
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        const std::wstring value = readPathFromConfig(sources, configKeyOf(line));
        if (folderPassesCheck(sources, line, value)) folders[static_cast<std::size_t>(i)] = value;
    }
    KVLOG_AS(kLogName, L"configpath player32:%s player64:%s player9 %s player3 %s player14 %s", folders[0], folders[1],
             folders[2], folders[3], folders[4]);
}

void fromRegistry(platform::InstallSources& sources, InstallFolders& folders) {
    for (int i = 0; i < product::kProductCount; ++i) {
        auto& folder = folders[static_cast<std::size_t>(i)];
        if (!folder.empty()) continue;
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        const std::wstring value = sources.registryInstallDir(product::productLine(line).registryKey);
        KVLOG_AS(kLogName, L"read %s path from kvplayer %s", product::productLine(line).logName, value);
        if (folderPassesCheck(sources, line, value)) {
            folder = value;
            KVLOG_AS(kLogName, L"%s player path %s", shortName(line), folder);
        }
    }
}

void fromShortcut(platform::InstallSources& sources, const std::filesystem::path& desktop, KV_PRODUCT_TYPE line,
                  std::wstring_view shortcut, std::wstring& folder) {
    const auto target = sources.resolveShortcut(std::filesystem::path(desktop.wstring() + std::wstring(shortcut)));
    if (target.empty()) return;
    const std::wstring candidate = target.parent_path().wstring();
    KVLOG_AS(kLogName, L"read %s path from shortcut %s", product::productLine(line).logName, candidate);
    if (folderPassesCheck(sources, line, candidate)) {
        folder = candidate;
        KVLOG_AS(kLogName, L"%s player path %s", shortName(line), folder);
    }
}

void fromShortcuts(platform::InstallSources& sources, InstallFolders& folders) {
    const auto desktop = sources.desktopFolder();
    if (desktop.empty()) return;
    for (KV_PRODUCT_TYPE line : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32, KV_PRODUCT_71_64, KV_PRODUCT_51}) {
        auto& folder = folders[static_cast<std::size_t>(line)];
        for (std::wstring_view shortcut : product::productLine(line).shortcuts) {
            if (!folder.empty() || shortcut.empty()) break; // line 0 tries its second shortcut only when needed
            fromShortcut(sources, desktop, line, shortcut, folder);
        }
    }
}

} // namespace

std::wstring readPathFromConfig(platform::InstallSources& sources, std::wstring_view key) {
    std::wstring value = sources.readPathConfig(key);
    KVLOG(L"pathconfig:%s %s", key, value);
    return value;
}

void discoverInstallFolders(platform::InstallSources& sources, InstallFolders& folders) {
    fromConfigFile(sources, folders);
    fromRegistry(sources, folders);
    fromShortcuts(sources, folders);
}

} // namespace model
