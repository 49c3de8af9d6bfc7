#pragma once
// The keys of an instance configuration file and what an absent key stands for.

#include <optional>
#include <span>
#include <string_view>

#include "core/product/ProductLine.h"
#include "core/storage/ConfigDocument.h"

namespace common::keys {

// Keys the storage operations write themselves.
inline constexpr std::string_view kPlayerName = "statusSettings.playerName";
inline constexpr std::string_view kIsNewPlayer = "statusSettings.isNewPlayer";
inline constexpr std::string_view kResolution = "advancedSettings.resolution";
inline constexpr std::string_view kResolutionDpi = "advancedSettings.resolutionDpi";
inline constexpr std::string_view kCpuCount = "advancedSettings.cpuCount";
inline constexpr std::string_view kMemorySize = "advancedSettings.memorySize";
inline constexpr std::string_view kFsAutoSize = "basicSettings.fsAutoSize";
inline constexpr std::string_view kMouseFastOptNew = "basicSettings.cjztdisableMouseFastOpt_new";
inline constexpr std::string_view kMouseFastOptOld = "basicSettings.cjztdisableMouseFastOpt";
inline constexpr std::string_view kVerticalSync = "basicSettings.verticalSync";
inline constexpr std::string_view kVMemUsage = "basicSettings.vMemUsage";
inline constexpr std::string_view kFps = "basicSettings.fps";
inline constexpr std::string_view kReduceAudio = "basicSettings.reduceAudio";
inline constexpr std::string_view kPhoneImei = "propertySettings.phoneIMEI";
inline constexpr std::string_view kPhoneImsi = "propertySettings.phoneIMSI";
inline constexpr std::string_view kPhoneSimSerial = "propertySettings.phoneSimSerial";
inline constexpr std::string_view kPhoneAndroidId = "propertySettings.phoneAndroidId";
inline constexpr std::string_view kPhoneModel = "propertySettings.phoneModel";
inline constexpr std::string_view kPhoneManufacturer = "propertySettings.phoneManufacturer";
inline constexpr std::string_view kMacAddress = "propertySettings.macAddress";

struct BoolDefault {
    std::string_view key;
    bool value;
};
struct IntDefault {
    std::string_view key;
    int value;
};
struct HotkeyDefault {
    std::string_view key;
    CombineKey value;
};

// Every boolean and integer key with its value when absent ("basicSettings.rootMode" depends on the line:
// ask boolDefault). Hot keys in the order the settings dialog shows them.
std::span<const BoolDefault> boolKeys();
std::span<const IntDefault> intKeys();
std::span<const HotkeyDefault> hotkeyKeys();
std::span<const std::string_view> stringKeys();

std::optional<bool> boolDefault(std::string_view key, KV_PRODUCT_TYPE product);
std::optional<int> intDefault(std::string_view key);
std::optional<CombineKey> hotkeyDefault(std::string_view key);

// Typed reads with the table's defaults.
bool readBool(const ConfigDocument& doc, std::string_view key, KV_PRODUCT_TYPE product);
int readInt(const ConfigDocument& doc, std::string_view key);
CombineKey readHotkey(const ConfigDocument& doc, std::string_view key);
// "basicSettings.cjztdisableMouseFastOpt_new", or when absent or -1 the older boolean form (true gives 1).
int readMouseFastOpt(const ConfigDocument& doc);

} // namespace common::keys
