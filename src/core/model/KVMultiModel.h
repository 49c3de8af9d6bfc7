#pragma once
// The instance model: the install folders of the product lines, the last-used line, and (growing) the
// instance lists and the operations on instances. One exists per process.

#include <cstdint>
#include <string>

#include "core/model/BatchSettings.h"
#include "core/model/InstallDiscovery.h"
#include "core/model/InstallSources.h"
#include "core/storage/PlayerSet.h"

class KVMultiModel {
public:
    KVMultiModel(common::PlayerSet& players, model::InstallSources& sources);

    // Finds the five install folders (config file, registry, shortcuts), keeps them and copies them out.
    void getPlayerPath(std::wstring& path32, std::wstring& path64, std::wstring& path9, std::wstring& path3,
                       std::wstring& path14);
    const model::InstallFolders& installFolders() const { return m_folders; }
    bool isInstalled(KV_PRODUCT_TYPE line) const { return !m_folders[static_cast<std::size_t>(line)].empty(); }

    // The last-run product line: `line` keeps the caller's value when none is stored; 0 to 3 are taken as
    // stored, every other number as 4. The first value read is kept for the life of the process.
    void readLastRun(int& line);
    void writeLastRun(KV_PRODUCT_TYPE line);

    // The line to preselect: the last-run line when it is installed, else the first installed of 4, 2, 0, 1,
    // 3; -1 when none is installed.
    int defaultProductLine();
    // Its storage object (line 4's when nothing is installed).
    common::Players& defaultProductPlayers();

    // Whether the executable of the id's line is recent enough for the group control features.
    bool isPlayerVersionSupported(std::int32_t id);

    // Batch settings (BatchSettings.h): the ids chosen for the settings dialog's batch mode, opening their
    // configurations, the dialog's checked rows written into them, and the batch end that saves and tells.
    void setBatchIds(std::vector<std::int32_t> ids) { m_batchSettings.setBatchIds(std::move(ids)); }
    void startSaveSettingMul() { m_batchSettings.startSaveSettingMul(); }
    void applySettingMul(const std::function<bool(std::string_view)>& isChecked, const model::BatchValues& values) {
        m_batchSettings.applyChecked(isChecked, values);
    }
    void endSaveSettingMul() { m_batchSettings.endSaveSettingMul(); }

private:
    common::PlayerSet& m_players;
    model::InstallSources& m_sources;
    model::InstallFolders m_folders;
    int m_lastRunCache = -1;
    model::BatchSettings m_batchSettings{m_players};
};
