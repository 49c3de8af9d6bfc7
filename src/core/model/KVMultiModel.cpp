#include "core/model/KVMultiModel.h"

#include <cwchar>

#include "core/model/VersionChecks.h"

KVMultiModel::KVMultiModel(common::PlayerSet& players, model::InstallSources& sources)
    : m_players(players), m_sources(sources) {}

void KVMultiModel::getPlayerPath(std::wstring& path32, std::wstring& path64, std::wstring& path9, std::wstring& path3,
                                 std::wstring& path14) {
    model::discoverInstallFolders(m_sources, m_folders);
    path32 = m_folders[0];
    path64 = m_folders[1];
    path9 = m_folders[2];
    path3 = m_folders[3];
    path14 = m_folders[4];
}

void KVMultiModel::readLastRun(int& line) {
    if (m_lastRunCache != -1) {
        line = m_lastRunCache;
        return;
    }
    const std::wstring value = m_sources.readPathConfig(L"lastRun");
    if (value.empty()) return;
    const long n = std::wcstol(value.c_str(), nullptr, 10);
    line = n >= 0 && n <= 3 ? static_cast<int>(n) : 4;
    m_lastRunCache = line;
}

// "lastRun" holds the product line (0 to 4) of the instance started last, not the instance id: the reader
// and the preselection of a line both expect a line, and an id of line 0 would read back as a wrong line.
void KVMultiModel::writeLastRun(KV_PRODUCT_TYPE line) {
    m_sources.writePathConfig(L"lastRun", std::to_wstring(static_cast<int>(line)));
}

int KVMultiModel::defaultProductLine() {
    int preference = -1;
    for (KV_PRODUCT_TYPE p : {KV_PRODUCT_14, KV_PRODUCT_9, KV_PRODUCT_71_32, KV_PRODUCT_71_64, KV_PRODUCT_51}) {
        if (isInstalled(p)) {
            preference = p;
            break;
        }
    }
    int last = -1;
    readLastRun(last);
    if (model::isProductType(last) && isInstalled(static_cast<KV_PRODUCT_TYPE>(last))) return last;
    return preference;
}

common::Players& KVMultiModel::defaultProductPlayers() {
    const int line = defaultProductLine();
    return m_players.line(line == -1 ? KV_PRODUCT_14 : static_cast<KV_PRODUCT_TYPE>(line));
}

bool KVMultiModel::isPlayerVersionSupported(std::int32_t id) {
    const KV_PRODUCT_TYPE line = model::productOfId(id);
    if (line == KV_PRODUCT_14) return true;
    const auto exe = model::playerExecutable(m_folders[static_cast<std::size_t>(line)]);
    return model::versionAtLeast(m_sources.fileVersionText(exe), model::minimumSupportedVersion(line));
}
