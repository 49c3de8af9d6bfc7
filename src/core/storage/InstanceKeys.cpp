#include "core/storage/InstanceKeys.h"

#include <algorithm>
#include <array>

namespace common::keys {
namespace {

constexpr std::array<BoolDefault, 20> kBools = {{
    {"basicSettings.autoRun", false},
    {"basicSettings.autoRotate", true},
    {"basicSettings.isForceLandscape", false},
    {"basicSettings.lockWindow", false},
    {"basicSettings.rootMode", true}, // false on lines 2 and 4
    {"basicSettings.mulTab", true},
    {"basicSettings.standaloneSysVmdk", false},
    {"basicSettings.reduceAudio", false},
    {"basicSettings.minReduceAudio", false},
    {"basicSettings.windowsRecordPos", false},
    {"basicSettings.disableMouseFastOpt", true},
    {"basicSettings.disableMouseRightOpt", false},
    {"basicSettings.cjztdisableMouseFastOpt", false},
    {"basicSettings.displayFps", false},
    {"basicSettings.verticalSync", false},
    {"basicSettings.heightFrameRate", false},
    {"basicSettings.astc", true},
    {"networkSettings.networkEnable", true},
    {"networkSettings.networkSwitching", false},
    {"networkSettings.networkStatic", false},
}};

constexpr std::array<IntDefault, 9> kInts = {{
    {"basicSettings.adbDebug", 0},
    {"basicSettings.vMemUsage", 0},
    {"basicSettings.fsAutoSize", 0},
    {"basicSettings.HDRQuality", 0},
    {"basicSettings.qjcjdisableMouseFast", 1},
    {"basicSettings.fps", 0},
    {"basicSettings.mulFsAddSize", 0},
    {"statusSettings.closeOption", 0},
    {"basicSettings.cjztdisableMouseFastOpt_new", -1},
}};

constexpr std::array<HotkeyDefault, 25> kHotkeys = {{
    {"hotkeySettings.bossKey", {2, 81}},
    {"hotkeySettings.operationRecordKey", {0, 121}},
    {"hotkeySettings.operationRecordPauseKey", {0, 0}},
    {"hotkeySettings.operationRecordShowFrame", {2, 56}},
    {"hotkeySettings.fullScreenKey", {0, 122}},
    {"hotkeySettings.showMappingKey", {0, 123}},
    {"hotkeySettings.backKey", {0, 27}},
    {"hotkeySettings.homeKey", {0, 112}},
    {"hotkeySettings.appSwitchKey", {0, 113}},
    {"hotkeySettings.menuKey", {0, 114}},
    {"hotkeySettings.zoomInKey", {0, 115}},
    {"hotkeySettings.zoomOutKey", {0, 116}},
    {"hotkeySettings.shakeKey", {0, 120}},
    {"hotkeySettings.videoRecordKey", {0, 119}},
    {"hotkeySettings.mappingRecordKey", {0, 117}},
    {"hotkeySettings.keyboardModelKey", {2, 70}},
    {"hotkeySettings.soundAddKey", {2, 107}},
    {"hotkeySettings.soundSubKey", {2, 109}},
    {"hotkeySettings.screenCutKey", {2, 48}},
    {"hotkeySettings.miniKey", {2, 112}},
    {"hotkeySettings.multiKey", {2, 50}},
    {"hotkeySettings.installApkKey", {2, 51}},
    {"hotkeySettings.shareFileKey", {2, 53}},
    {"hotkeySettings.locationKey", {2, 55}},
    {"hotkeySettings.syncKey", {2, 57}},
}};

constexpr std::array<std::string_view, 19> kStrings = {
    "advancedSettings.micphoneName",      "advancedSettings.speakerName",      "propertySettings.phoneIMEI",
    "propertySettings.phoneIMSI",         "propertySettings.phoneSimSerial",   "propertySettings.phoneAndroidId",
    "propertySettings.macAddress",        "propertySettings.phoneNumber",      "propertySettings.phoneModel",
    "propertySettings.phoneManufacturer", "networkSettings.networkInterface",  "networkSettings.networkAddress",
    "networkSettings.networkGateway",     "networkSettings.networkSubnetMask", "networkSettings.networkDNS1",
    "networkSettings.networkDNS2",        "statusSettings.playerName",         "statusSettings.sharedApplications",
    "statusSettings.sharedPictures",
};

template <class Table>
auto findKey(const Table& table, std::string_view key) {
    return std::find_if(table.begin(), table.end(), [key](const auto& row) { return row.key == key; });
}

} // namespace

std::span<const BoolDefault> boolKeys() {
    return kBools;
}
std::span<const IntDefault> intKeys() {
    return kInts;
}
std::span<const HotkeyDefault> hotkeyKeys() {
    return kHotkeys;
}
std::span<const std::string_view> stringKeys() {
    return kStrings;
}

std::optional<bool> boolDefault(std::string_view key, KV_PRODUCT_TYPE product) {
    if (key == "basicSettings.rootMode") return product != KV_PRODUCT_9 && product != KV_PRODUCT_14;
    auto it = findKey(kBools, key);
    return it == kBools.end() ? std::nullopt : std::optional<bool>(it->value);
}

std::optional<int> intDefault(std::string_view key) {
    auto it = findKey(kInts, key);
    return it == kInts.end() ? std::nullopt : std::optional<int>(it->value);
}

std::optional<CombineKey> hotkeyDefault(std::string_view key) {
    auto it = findKey(kHotkeys, key);
    return it == kHotkeys.end() ? std::nullopt : std::optional<CombineKey>(it->value);
}

bool readBool(const ConfigDocument& doc, std::string_view key, KV_PRODUCT_TYPE product) {
    return doc.getBool(key, boolDefault(key, product).value_or(false));
}

int readInt(const ConfigDocument& doc, std::string_view key) {
    return doc.getInt(key, intDefault(key).value_or(0));
}

CombineKey readHotkey(const ConfigDocument& doc, std::string_view key) {
    return doc.getHotkey(key, hotkeyDefault(key).value_or(CombineKey{}));
}

int readMouseFastOpt(const ConfigDocument& doc) {
    const int value = doc.getInt(kMouseFastOptNew, -1);
    if (value != -1) return value;
    return doc.getBool(kMouseFastOptOld, false) ? 1 : 0;
}

} // namespace common::keys
