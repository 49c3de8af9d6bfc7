#pragma once
// The values the instance settings dialog edits, read from an instance's configuration and its line's shared
// settings, and written back key by key where the user changed them.
//
// Writing compares with the values as they were loaded, never with the file: a key the user left alone is
// not written, even when the file lacks it and the dialog showed its default, so the file keeps exactly what
// it had. Two keys live in the line's shared settings for every line but 4: "mulTab" and
// "exitFullscreenEsc"; the frame rate is written to both files.

#include <string>
#include <string_view>

#include "core/model/BatchApplyTable.h"
#include "core/product/ProductLine.h"
#include "core/storage/ConfigDocument.h"
#include "core/storage/GlobalSettings.h"

namespace settingsui {

// What an absent key of the system-dependent kind stands for (computed by the opener from the machine).
struct MachineDefaults {
    common::Resolution resolution{1280, 720};
    int resolutionDpi = 240;
    int cpuCount = 2;
    int memorySize = 2048;
};

// The batch-apply values, and the settings that are only ever written for one instance.
struct SettingValues : model::BatchValues {
    bool astc = true;
    int hdrQuality = 0;
    int mulFsAutoSize = 0; // the shared folder grows by itself (1) or has a fixed extra size
    int mulFsAddSize = 0;  // gigabytes added to the shared folder
    bool networkEnable = true;
    bool networkSwitching = false;
    bool networkStatic = false;
    std::wstring networkInterface;
    std::wstring networkAddress;
    std::wstring networkGateway;
    std::wstring networkSubnetMask;
    std::wstring networkDNS1;
    std::wstring networkDNS2;
    std::wstring micphoneName;
    std::wstring speakerName;
    std::wstring phoneImei;
    std::wstring phoneNumber;
    std::wstring languageId; // shared settings
};

// The string keys written only in single mode, with their fields.
struct StringField {
    std::string_view key;
    std::wstring SettingValues::*field;
};
struct IntField {
    std::string_view key;
    int SettingValues::*field;
};
struct BoolField {
    std::string_view key;
    bool SettingValues::*field;
};

SettingValues loadSettingValues(const common::ConfigDocument& config, const common::GlobalSettings& line,
                                KV_PRODUCT_TYPE product, const MachineDefaults& defaults);

// Writes every value that differs from `loaded` to its key; returns whether the language changed.
bool writeChangedValues(const SettingValues& loaded, const SettingValues& now, common::ConfigDocument& config,
                        common::GlobalSettings& line, KV_PRODUCT_TYPE product);

// Keys that live in the line's shared settings for this line instead of the instance file.
bool inLineSettings(std::string_view key, KV_PRODUCT_TYPE product);

} // namespace settingsui
