#include "ui/settings/SettingValues.h"

#include <array>
#include <variant>

#include "core/storage/InstanceKeys.h"

namespace settingsui {

namespace {

using V = SettingValues;
namespace keys = common::keys;

constexpr std::array<StringField, 10> kStrings = {{
    {"networkSettings.networkInterface", &V::networkInterface},
    {"networkSettings.networkAddress", &V::networkAddress},
    {"networkSettings.networkGateway", &V::networkGateway},
    {"networkSettings.networkSubnetMask", &V::networkSubnetMask},
    {"networkSettings.networkDNS1", &V::networkDNS1},
    {"networkSettings.networkDNS2", &V::networkDNS2},
    {"advancedSettings.micphoneName", &V::micphoneName},
    {"advancedSettings.speakerName", &V::speakerName},
    {keys::kPhoneImei, &V::phoneImei},
    {"propertySettings.phoneNumber", &V::phoneNumber},
}};

constexpr std::array<BoolField, 4> kBools = {{
    {"basicSettings.astc", &V::astc},
    {"networkSettings.networkEnable", &V::networkEnable},
    {"networkSettings.networkSwitching", &V::networkSwitching},
    {"networkSettings.networkStatic", &V::networkStatic},
}};

constexpr std::array<IntField, 3> kInts = {{
    {"basicSettings.HDRQuality", &V::hdrQuality},
    {"basicSettings.mulFsAutoSize", &V::mulFsAutoSize},
    {"basicSettings.mulFsAddSize", &V::mulFsAddSize},
}};

const common::settings::BoolKey* lineKeyOf(std::string_view key) {
    if (key == "basicSettings.mulTab") return &common::settings::mulTab;
    if (key == "hotkeySettings.exitFullscreenEsc") return &common::settings::exitFullscreenEsc;
    return nullptr;
}

struct KeyReader {
    const common::ConfigDocument& config;
    const common::GlobalSettings& line;
    KV_PRODUCT_TYPE product;
    const MachineDefaults& defaults;
    std::string_view key;
    SettingValues& values;

    void operator()(int model::BatchValues::*field) const {
        int value = 0;
        if (key == keys::kMouseFastOptNew)
            value = keys::readMouseFastOpt(config);
        else if (key == keys::kCpuCount)
            value = config.getInt(key, defaults.cpuCount);
        else if (key == keys::kMemorySize)
            value = config.getInt(key, defaults.memorySize);
        else if (key == keys::kResolutionDpi)
            value = config.getInt(key, defaults.resolutionDpi);
        else
            value = keys::readInt(config, key);
        values.*field = value;
    }
    void operator()(bool model::BatchValues::*field) const {
        if (inLineSettings(key, product))
            values.*field = line.get(*lineKeyOf(key));
        else
            values.*field = config.getBool(key, keys::boolDefault(key, product).value_or(false));
    }
    void operator()(std::wstring model::BatchValues::*field) const { values.*field = config.getString(key); }
    void operator()(common::Resolution model::BatchValues::*field) const {
        values.*field = config.getResolution(key, defaults.resolution);
    }
    void operator()(common::CombineKey model::BatchValues::*field) const {
        values.*field = keys::readHotkey(config, key);
    }
};

struct Differs {
    const SettingValues& a;
    const SettingValues& b;
    template <class Field>
    bool operator()(Field model::BatchValues::*field) const {
        return !(a.*field == b.*field);
    }
};

} // namespace

bool inLineSettings(std::string_view key, KV_PRODUCT_TYPE product) {
    return product != KV_PRODUCT_14 && lineKeyOf(key) != nullptr;
}

SettingValues loadSettingValues(const common::ConfigDocument& config, const common::GlobalSettings& line,
                                KV_PRODUCT_TYPE product, const MachineDefaults& defaults) {
    SettingValues values;
    for (const model::BatchApplyRow& row : model::batchApplyTable())
        for (const model::BatchKey& key : row.keys)
            std::visit(KeyReader{config, line, product, defaults, key.key, values}, key.field);
    for (const StringField& s : kStrings) values.*s.field = config.getString(s.key);
    for (const BoolField& b : kBools)
        values.*b.field = config.getBool(b.key, keys::boolDefault(b.key, product).value_or(false));
    for (const IntField& i : kInts) values.*i.field = keys::readInt(config, i.key);
    values.languageId = line.get(common::settings::languageId);
    return values;
}

bool writeChangedValues(const SettingValues& loaded, const SettingValues& now, common::ConfigDocument& config,
                        common::GlobalSettings& line, KV_PRODUCT_TYPE product) {
    for (const model::BatchApplyRow& row : model::batchApplyTable()) {
        for (const model::BatchKey& key : row.keys) {
            if (!std::visit(Differs{loaded, now}, key.field)) continue;
            if (inLineSettings(key.key, product))
                line.set(*lineKeyOf(key.key), now.*std::get<bool model::BatchValues::*>(key.field));
            else
                model::writeBatchKey(config, key, now);
            if (key.key == keys::kFps) line.set(common::settings::framesPerSecond, now.fps);
        }
    }
    for (const StringField& s : kStrings)
        if (loaded.*s.field != now.*s.field) config.setString(s.key, now.*s.field);
    for (const BoolField& b : kBools)
        if (loaded.*b.field != now.*b.field) config.setBool(b.key, now.*b.field);
    for (const IntField& i : kInts)
        if (loaded.*i.field != now.*i.field) config.setInt(i.key, now.*i.field);
    if (loaded.languageId == now.languageId) return false;
    line.set(common::settings::languageId, now.languageId);
    return true;
}

} // namespace settingsui
