#include "core/model/BatchApplyTable.h"

#include "core/storage/InstanceKeys.h"

namespace model {
namespace {

using V = BatchValues;

const std::vector<BatchApplyRow>& rows() {
    static const std::vector<BatchApplyRow> table = {
        {"resolutionTitleOption",
         {{common::keys::kResolution, &V::resolution}, {common::keys::kResolutionDpi, &V::resolutionDpi}}},
        {"wndPosTitleOption", {{"basicSettings.windowsRecordPos", &V::windowsRecordPos}}},
        {"autoRotateTitleOption", {{"basicSettings.autoRotate", &V::autoRotate}}},
        {"lockWindowTitleOption", {{"basicSettings.lockWindow", &V::lockWindow}}},
        {"displayFpsTitleOption", {{"basicSettings.displayFps", &V::displayFps}}},
        {"verticalSyncTitleOption", {{common::keys::kVerticalSync, &V::verticalSync}}},
        {"forceLandTitleOption", {{"basicSettings.isForceLandscape", &V::isForceLandscape}}},
        {"cpuTitleOption", {{common::keys::kCpuCount, &V::cpuCount}}},
        {"memoryTitleOption", {{common::keys::kMemorySize, &V::memorySize}}},
        {"fpsOption", {{common::keys::kFps, &V::fps}, {"basicSettings.heightFrameRate", &V::heightFrameRate}}},
        {"uMemUsageTitleOption", {{common::keys::kVMemUsage, &V::vMemUsage}}},
        {"phoneManufactOption",
         {{common::keys::kPhoneManufacturer, &V::phoneManufacturer}, {common::keys::kPhoneModel, &V::phoneModel}}},
        {"diskShareTitleOption", {{"basicSettings.standaloneSysVmdk", &V::standaloneSysVmdk}}},
        {"silenceTitleOption", {{common::keys::kReduceAudio, &V::reduceAudio}}},
        {"minSilenceTitleOption", {{"basicSettings.minReduceAudio", &V::minReduceAudio}}},
        {"bosskeyTitleOption", {{"hotkeySettings.bossKey", &V::bossKey}}},
        {"fullscreenkeyTitleOption",
         {{"hotkeySettings.fullScreenKey", &V::fullScreenKey},
          {"hotkeySettings.exitFullscreenEsc", &V::exitFullscreenEsc}}},
        {"miniKeyTitleOption", {{"hotkeySettings.miniKey", &V::miniKey}}},
        {"zoominkeyTitleOption", {{"hotkeySettings.zoomInKey", &V::zoomInKey}}},
        {"zoomoutkeyTitleOption", {{"hotkeySettings.zoomOutKey", &V::zoomOutKey}}},
        {"backkeyTitleOption", {{"hotkeySettings.backKey", &V::backKey}}},
        {"homekeyTitleOption", {{"hotkeySettings.homeKey", &V::homeKey}}},
        {"appswitchkeyTitleOption", {{"hotkeySettings.appSwitchKey", &V::appSwitchKey}}},
        {"menukeyTitleOption", {{"hotkeySettings.menuKey", &V::menuKey}}},
        {"soundAddKeyTitleOption", {{"hotkeySettings.soundAddKey", &V::soundAddKey}}},
        {"soundSubKeyTitleOption", {{"hotkeySettings.soundSubKey", &V::soundSubKey}}},
        {"screenCutKeyTitleOption", {{"hotkeySettings.screenCutKey", &V::screenCutKey}}},
        {"showmappingkeyTitleOption", {{"hotkeySettings.showMappingKey", &V::showMappingKey}}},
        {"keyboardModelKeyTitleOption", {{"hotkeySettings.keyboardModelKey", &V::keyboardModelKey}}},
        {"recordShowWndBtnTitleOption", {{"hotkeySettings.operationRecordShowFrame", &V::operationRecordShowFrame}}},
        {"operationrecordkeyTitleOption", {{"hotkeySettings.operationRecordKey", &V::operationRecordKey}}},
        {"recordPauseBtnTitleOption", {{"hotkeySettings.operationRecordPauseKey", &V::operationRecordPauseKey}}},
        {"mappingRecordkeyTitleOption", {{"hotkeySettings.mappingRecordKey", &V::mappingRecordKey}}},
        {"videoRecordKeyTitleOption", {{"hotkeySettings.videoRecordKey", &V::videoRecordKey}}},
        {"shakekeyTitleOption", {{"hotkeySettings.shakeKey", &V::shakeKey}}},
        {"multiKeyTitleOption", {{"hotkeySettings.multiKey", &V::multiKey}}},
        {"installApkKeyTitleOption", {{"hotkeySettings.installApkKey", &V::installApkKey}}},
        {"shareFileKeyTitleOption", {{"hotkeySettings.shareFileKey", &V::shareFileKey}}},
        {"locationKeyTitleOption", {{"hotkeySettings.locationKey", &V::locationKey}}},
        {"syncKeyTitleOption", {{"hotkeySettings.syncKey", &V::syncKey}}},
        {"autoRunOptoin", {{"basicSettings.autoRun", &V::autoRun}}},
        {"rootOption", {{"basicSettings.rootMode", &V::rootMode}}},
        {"multabOption", {{"basicSettings.mulTab", &V::mulTab}}},
        {"mouseRightOpt", {{"basicSettings.disableMouseRightOpt", &V::disableMouseRightOpt}}},
        {"disableMouseFastOpt",
         {{"basicSettings.disableMouseFastOpt", &V::disableMouseFastOpt},
          {common::keys::kMouseFastOptNew, &V::cjztdisableMouseFastOptNew},
          {"basicSettings.qjcjdisableMouseFast", &V::qjcjdisableMouseFast}}},
        {"adbOption", {{"basicSettings.adbDebug", &V::adbDebug}}},
        {"quitOption", {{"statusSettings.closeOption", &V::closeOption}}},
    };
    return table;
}

struct KeyWriter {
    common::ConfigDocument& doc;
    std::string_view key;
    const BatchValues& values;

    void operator()(int V::*field) const { doc.setInt(key, values.*field); }
    void operator()(bool V::*field) const { doc.setBool(key, values.*field); }
    void operator()(std::wstring V::*field) const { doc.setString(key, values.*field); }
    void operator()(common::CombineKey V::*field) const { doc.setHotkey(key, values.*field); }
    // The one resolution key is "advancedSettings.resolution", which has its own setter.
    void operator()(common::Resolution V::*field) const {
        doc.setResolution((values.*field).width, (values.*field).height);
    }
};

} // namespace

std::span<const BatchApplyRow> batchApplyTable() {
    return rows();
}

void writeBatchKey(common::ConfigDocument& doc, const BatchKey& key, const BatchValues& values) {
    std::visit(KeyWriter{doc, key.key, values}, key.field);
}

const BatchKey* findBatchKey(std::string_view key) {
    for (const BatchApplyRow& row : batchApplyTable())
        for (const BatchKey& entry : row.keys)
            if (entry.key == key) return &entry;
    return nullptr;
}

} // namespace model
