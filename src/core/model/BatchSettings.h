#pragma once
// Writing chosen settings into several instances at once, for the settings dialog's batch mode.
//
// The main window sets the batch ids; the dialog's save then opens their configurations
// (`startSaveSettingMul`), writes the checked rows of the apply table into every one of them
// (`applyChecked`) and ends the batch (`endSaveSettingMul`): only configurations that a write changed are
// saved, one after another whatever the previous save did, and the user is told that the batch is done.
// Fewer than two ids open nothing, so no file changes. A batch that is never ended is dropped unsaved by
// the next start.
//
// User-interface thread only.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "core/model/BatchApplyTable.h"
#include "core/model/Notices.h"
#include "core/storage/PlayerConfig.h"
#include "core/storage/PlayerSet.h"

namespace model {

// The keys with their values written into one instance's configuration, saved when a write changed it; false
// when that save failed. What the console's "set" does for each of its instances.
[[nodiscard]] bool writeBatchKeys(common::PlayerSet& players, std::int32_t id, const std::vector<const BatchKey*>& keys,
                                  const BatchValues& values);

class BatchSettings {
public:
    // Notices are recorded until the main window gives its own.
    explicit BatchSettings(common::PlayerSet& players) : m_players(players), m_notices(&m_recorded) {}
    BatchSettings(common::PlayerSet& players, Notices& notices) : m_players(players), m_notices(&notices) {}
    BatchSettings(const BatchSettings&) = delete;
    BatchSettings& operator=(const BatchSettings&) = delete;

    // The main window's notices; null records them again.
    void setNotices(Notices* notices) { m_notices = notices ? notices : &m_recorded; }
    void setBatchIds(std::vector<std::int32_t> ids) { m_ids = std::move(ids); }
    const std::vector<std::int32_t>& batchIds() const { return m_ids; }

    // Opens the configuration of every batch id in order, dropping those of an earlier batch unsaved.
    void startSaveSettingMul();
    // Every row whose check box is checked, in table order: each of its keys on every open configuration.
    void applyChecked(const std::function<bool(std::string_view checkBox)>& isChecked, const BatchValues& values);
    // Saves the changed configurations, closes all of them and shows the completion notice.
    void endSaveSettingMul();

    std::size_t openCount() const { return m_configs.size(); }

private:
    common::PlayerSet& m_players;
    RecordingNotices m_recorded;
    Notices* m_notices;
    std::vector<std::int32_t> m_ids;
    std::vector<common::PlayerConfig> m_configs;
};

} // namespace model
