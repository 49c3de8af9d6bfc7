#pragma once
// The six storage objects of the program: one per product line and one for the program's own folder (the
// manager-wide settings), and the operations that write several settings files at once.

#include <array>
#include <functional>
#include <memory>

#include "core/storage/Players.h"

namespace common {

class PlayerSet {
public:
    PlayerSet();

    Players& line(KV_PRODUCT_TYPE product) { return *m_lines[static_cast<std::size_t>(product)]; }
    Players& own() { return m_own; }
    bool installed(KV_PRODUCT_TYPE product) const {
        return !m_lines[static_cast<std::size_t>(product)]->installFolder().empty();
    }

    // Shutdown, before the log goes: every worker thread of the six objects is stopped and joined.
    void stopAllTasks();

    // f on the settings of every installed line in the order 4, 2, 0, 1, 3, then on the program's own.
    void applyToAllSettings(const std::function<void(GlobalSettings&)>& f);
    // The same without line 4: 2, 0, 1, 3, then the program's own.
    void applyToAllSettingsButAndroid14(const std::function<void(GlobalSettings&)>& f);

    // A newly installed line starts with the arrangement and display choices of the preselected line and
    // the program's own file.
    void copySettingsOnInstall(KV_PRODUCT_TYPE target, KV_PRODUCT_TYPE preselected);

private:
    std::array<std::unique_ptr<Players>, product::kProductCount> m_lines;
    Players m_own{KV_PRODUCT_14}; // the program's own object keeps line 4
};

// What the manager setup dialog saves, written to every settings file in one pass per setting: reload,
// each setting, save.
struct SetupDialogValues {
    bool vmdkFastMode;
    bool cloneFromSmallDisk;
    int windowsAlignType;
    int windowsRowCount;
    bool windowsAutoSize;
    bool sortwndnotoutscreen;
    bool moreScreenSortInSame;
    Point windowsOrigin;
    Point windowsOffset;
    int batchStartInterval;
};
void saveSetupDialogSettings(PlayerSet& players, const SetupDialogValues& values);

// What the other-settings dialog saves; line 4's file is not touched.
struct OtherSettingsValues {
    bool frameRateEnabled;
    int framesPerSecond; // 60 is written when the frame-rate slider is disabled
    bool reduceAudio;
    bool windowsRecordPos;
};
void saveOtherSettings(PlayerSet& players, const OtherSettingsValues& values);

} // namespace common
