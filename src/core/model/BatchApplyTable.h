#pragma once
// Applying one setting to many instances: what the settings dialog shows (`BatchValues`) and, per apply
// check box of the dialog, the configuration keys written from it when the box is checked.
//
// The table is data: a row names its check box and lists its keys in the order they are written, each key
// bound to the field of `BatchValues` that holds its value, so the value's type is the field's type.

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/storage/ConfigDocument.h"

namespace model {

// The values as the dialog shows them, one field per written key (named after the key).
struct BatchValues {
    common::Resolution resolution;
    int resolutionDpi = 0;
    int cpuCount = 0;
    int memorySize = 0;
    int fps = 0;
    int vMemUsage = 0;
    int cjztdisableMouseFastOptNew = 0;
    int qjcjdisableMouseFast = 0;
    int adbDebug = 0;
    int closeOption = 0;
    bool windowsRecordPos = false;
    bool autoRotate = false;
    bool lockWindow = false;
    bool displayFps = false;
    bool verticalSync = false;
    bool isForceLandscape = false;
    bool heightFrameRate = false;
    bool standaloneSysVmdk = false;
    bool reduceAudio = false;
    bool minReduceAudio = false;
    bool exitFullscreenEsc = false;
    bool autoRun = false;
    bool rootMode = false;
    bool mulTab = false;
    bool disableMouseRightOpt = false;
    bool disableMouseFastOpt = false;
    std::wstring phoneManufacturer;
    std::wstring phoneModel;
    common::CombineKey bossKey;
    common::CombineKey fullScreenKey;
    common::CombineKey miniKey;
    common::CombineKey zoomInKey;
    common::CombineKey zoomOutKey;
    common::CombineKey backKey;
    common::CombineKey homeKey;
    common::CombineKey appSwitchKey;
    common::CombineKey menuKey;
    common::CombineKey soundAddKey;
    common::CombineKey soundSubKey;
    common::CombineKey screenCutKey;
    common::CombineKey showMappingKey;
    common::CombineKey keyboardModelKey;
    common::CombineKey operationRecordShowFrame;
    common::CombineKey operationRecordKey;
    common::CombineKey operationRecordPauseKey;
    common::CombineKey mappingRecordKey;
    common::CombineKey videoRecordKey;
    common::CombineKey shakeKey;
    common::CombineKey multiKey;
    common::CombineKey installApkKey;
    common::CombineKey shareFileKey;
    common::CombineKey locationKey;
    common::CombineKey syncKey;
};

using BatchField = std::variant<int BatchValues::*, bool BatchValues::*, std::wstring BatchValues::*,
                                common::Resolution BatchValues::*, common::CombineKey BatchValues::*>;

struct BatchKey {
    std::string_view key;
    BatchField field;
};

struct BatchApplyRow {
    std::string_view checkBox;
    std::vector<BatchKey> keys;
};

// Every row, in the order the dialog applies them.
std::span<const BatchApplyRow> batchApplyTable();

// The table's entry of a configuration key; null when no row writes it.
const BatchKey* findBatchKey(std::string_view key);

// The key's setter with its value: a value equal to the stored one leaves the document unmodified.
void writeBatchKey(common::ConfigDocument& doc, const BatchKey& key, const BatchValues& values);

} // namespace model
