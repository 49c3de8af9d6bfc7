#include "core/storage/PlayerSet.h"

namespace common {

PlayerSet::PlayerSet() {
    for (int i = 0; i < product::kProductCount; ++i)
        m_lines[static_cast<std::size_t>(i)] = std::make_unique<Players>(static_cast<KV_PRODUCT_TYPE>(i));
}

void PlayerSet::stopAllTasks() {
    for (auto& line : m_lines) line->stopTasks();
    m_own.stopTasks();
}

void PlayerSet::applyToAllSettings(const std::function<void(GlobalSettings&)>& f) {
    for (KV_PRODUCT_TYPE p : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32, KV_PRODUCT_71_64, KV_PRODUCT_51})
        if (installed(p)) f(line(p).settings());
    f(m_own.settings());
}

void PlayerSet::applyToAllSettingsButAndroid14(const std::function<void(GlobalSettings&)>& f) {
    for (KV_PRODUCT_TYPE p : {KV_PRODUCT_9, KV_PRODUCT_71_32, KV_PRODUCT_71_64, KV_PRODUCT_51})
        if (installed(p)) f(line(p).settings());
    f(m_own.settings());
}

void PlayerSet::copySettingsOnInstall(KV_PRODUCT_TYPE target, KV_PRODUCT_TYPE preselected) {
    const GlobalSettings& from = line(preselected).settings();
    GlobalSettings& to = line(target).settings();
    to.set(settings::vmdkFastMode, from.get(settings::vmdkFastMode));
    to.set(settings::cloneFromSmallDisk, from.get(settings::cloneFromSmallDisk));
    to.set(settings::windowsAlignType, from.get(settings::windowsAlignType));
    to.set(settings::displayMode, from.get(settings::displayMode));
    to.set(settings::framesPerSecond, from.get(settings::framesPerSecond));
    to.set(settings::windowsAutoSize, m_own.settings().get(settings::windowsAutoSize));
    to.set(settings::sortwndnotoutscreen, m_own.settings().get(settings::sortwndnotoutscreen));
    (void)to.save(); // failures are logged by the writer
}

void saveSetupDialogSettings(PlayerSet& players, const SetupDialogValues& v) {
    using namespace settings;
    const std::function<void(GlobalSettings&)> steps[] = {
        [](GlobalSettings& s) { s.reload(); },
        [&](GlobalSettings& s) { s.set(vmdkFastMode, v.vmdkFastMode); },
        [&](GlobalSettings& s) { s.set(cloneFromSmallDisk, v.cloneFromSmallDisk); },
        [&](GlobalSettings& s) { s.set(windowsAlignType, v.windowsAlignType); },
        [&](GlobalSettings& s) { s.set(windowsRowCount, v.windowsRowCount); },
        [&](GlobalSettings& s) { s.set(windowsAutoSize, v.windowsAutoSize); },
        [&](GlobalSettings& s) { s.set(sortwndnotoutscreen, v.sortwndnotoutscreen); },
        [&](GlobalSettings& s) { s.set(moreScreenSortInSame, v.moreScreenSortInSame); },
        [&](GlobalSettings& s) { s.setX(windowsOrigin, v.windowsOrigin.x); },
        [&](GlobalSettings& s) { s.setY(windowsOrigin, v.windowsOrigin.y); },
        [&](GlobalSettings& s) { s.setX(windowsOffset, v.windowsOffset.x); },
        [&](GlobalSettings& s) { s.setY(windowsOffset, v.windowsOffset.y); },
        [&](GlobalSettings& s) { s.set(batchStartInterval, v.batchStartInterval); },
        [](GlobalSettings& s) { (void)s.save(); }, // logged by the writer; the other files are still written
    };
    for (const auto& step : steps) players.applyToAllSettings(step);
}

void saveOtherSettings(PlayerSet& players, const OtherSettingsValues& v) {
    using namespace settings;
    const std::function<void(GlobalSettings&)> steps[] = {
        [](GlobalSettings& s) { s.reload(); },
        [&](GlobalSettings& s) { s.set(framesPerSecond, v.frameRateEnabled ? v.framesPerSecond : 60); },
        [&](GlobalSettings& s) { s.set(reduceAudio, v.reduceAudio); },
        [&](GlobalSettings& s) { s.set(windowsRecordPos, v.windowsRecordPos); },
        [](GlobalSettings& s) { (void)s.save(); }, // logged by the writer; the other files are still written
    };
    for (const auto& step : steps) players.applyToAllSettingsButAndroid14(step);
}

} // namespace common
