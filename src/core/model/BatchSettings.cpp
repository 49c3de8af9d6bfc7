#include "core/model/BatchSettings.h"

#include "core/lang/LanguageStrings.h"
#include "core/log/Log.h"

namespace model {

bool writeBatchKeys(common::PlayerSet& players, std::int32_t id, const std::vector<const BatchKey*>& keys,
                    const BatchValues& values) {
    common::PlayerConfig config;
    config.load(players.line(product::productOfId(id)).baseFolder(), product::indexOfId(id));
    for (const BatchKey* key : keys) writeBatchKey(config.document(), *key, values);
    return !config.document().modified() || config.document().save();
}

void BatchSettings::startSaveSettingMul() {
    // An earlier batch that was never ended is dropped unsaved first, so that a batch of one id cannot
    // write into it.
    m_configs.clear();
    if (m_ids.size() < 2) {
        KVLOG_AS("KVMultiModel::startSaveSettingMul", L"less than 1");
        return;
    }
    KVLOG_AS("KVMultiModel::startSaveSettingMul", L"setting size %d", static_cast<int>(m_ids.size()));
    m_configs.reserve(m_ids.size());
    for (const std::int32_t id : m_ids) {
        const common::Players& line = m_players.line(product::productOfId(id));
        m_configs.emplace_back().load(line.baseFolder(), product::indexOfId(id));
    }
}

void BatchSettings::applyChecked(const std::function<bool(std::string_view)>& isChecked, const BatchValues& values) {
    for (const BatchApplyRow& row : batchApplyTable()) {
        if (!isChecked(row.checkBox)) continue;
        for (const BatchKey& key : row.keys)
            for (common::PlayerConfig& config : m_configs) writeBatchKey(config.document(), key, values);
    }
}

void BatchSettings::endSaveSettingMul() {
    // A failed write is logged by the save and must not keep the other instances from being written.
    for (common::PlayerConfig& config : m_configs) (void)config.document().save();
    m_configs.clear();
    m_notices->showMessage(common::lang::lookUpWithFallback(L"prompt"),
                           common::lang::lookUpWithFallback(L"multi_batch_setup_end"));
}

} // namespace model
