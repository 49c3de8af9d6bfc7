#include "core/app/StartupSteps.h"

#include "core/lang/LanguageProfile.h"
#include "core/lang/LoadResources.h"
#include "core/storage/GlobalSettings.h"
#include "core/storage/KVPhoneConfig.h"

namespace app {

void initialiseStorage(KVMultiModel& model, common::PlayerSet& players, const std::filesystem::path& programFolder) {
    const model::InstallFolders& folders = model.installFolders();
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        players.line(line).init(folders[static_cast<std::size_t>(i)]);
    }
    players.own().init(programFolder);
    common::lang::selectLanguage(L"", L"");
    common::KVPhoneConfig::instance().loadConfig();
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        const product::ProductLineInfo& info = product::productLine(line);
        players.line(line).setNamePatterns(std::wstring(info.mutexPattern), std::wstring(info.windowClassPattern));
    }
}

void selectLanguageAndResources(KVMultiModel& model, const std::filesystem::path& programFolder) {
    model.defaultProductLine();
    const std::wstring languageId = model.defaultProductPlayers().settings().get(common::settings::languageId);
    const auto& profile = common::lang::selectLanguage(languageId, L"");
    common::lang::loadResources(programFolder, languageId.empty() ? profile.code : languageId, profile.code);
}

} // namespace app
