// Filling one instance record from its configuration file, its folder and, when it runs, its windows.
// The configuration is read once per record; absent values get the same defaults the settings dialog shows.

#include <optional>

#include "core/files/Files.h"
#include "core/files/FolderWalks.h"
#include "core/model/KVMultiModel.h"
#include "core/platform/SystemFacts.h"
#include "core/storage/InstanceDefaults.h"
#include "core/storage/InstanceKeys.h"

namespace {

constexpr int kDefaultDpi = 240; // what an instance without a stored DPI runs with
constexpr wchar_t kFullWidthComma = L'\uFF0C';
constexpr const char* kUnfinishedCopyMarker = "copy_not_finish";

// The machine's defaults for processors and memory, asked once: a reload fills every record.
int defaultCpuCount() {
    static const int count = common::defaults::cpuCount(platform::processorTopology());
    return count;
}
int defaultMemoryMb() {
    static const int mb = common::defaults::memoryMb(platform::installedMemoryMb());
    return mb;
}

// Records carry names with every comma as a full-width comma.
std::wstring shownName(std::wstring name) {
    for (auto& c : name)
        if (c == L',') c = kFullWidthComma;
    return name;
}

} // namespace

std::wstring KVMultiModel::shownPlayerName(const std::wstring& name) {
    return shownName(name);
}

// With disk sizes, a second thread walks the folders while this one reads the configurations, and this one
// then helps with the walks left: they cost about as much as the reading. Each walk answers the copy marker
// too, which is one of the entries it lists.
void KVMultiModel::fillRecords(std::vector<model::InstanceRecord>& list, const std::vector<int>& indices,
                               const common::Players& players, bool withDiskSizes) {
    list.resize(indices.size());
    std::optional<common::files::FolderWalks> walks;
    if (withDiskSizes) {
        std::vector<std::filesystem::path> folders;
        folders.reserve(indices.size());
        for (int index : indices) folders.push_back(players.instanceFolder(index));
        walks.emplace(std::move(folders), kUnfinishedCopyMarker);
    }
    for (std::size_t i = 0; i < indices.size(); ++i) fillRecord(list[i], indices[i], players, withDiskSizes);
    if (!walks) return;
    const auto walked = walks->results();
    for (std::size_t i = 0; i < list.size(); ++i) {
        list[i].diskSize = walked[i].bytes;
        list[i].unfinishedCopy = walked[i].holdsName ? -1 : 0;
    }
}

void KVMultiModel::fillRecord(model::InstanceRecord& record, int index, const common::Players& players,
                              bool folderWalked) {
    record = {};
    record.id = index;
    record.mutexName = players.mutexName(index);
    record.windowClassName = players.windowClassName(index);
    common::ConfigDocument config;
    config.load(players.configPath(index));
    record.name = shownName(players.displayNameCached(index, config));
    readSettings(record, index, config);
    if (!folderWalked)
        record.unfinishedCopy =
            common::files::fileExists(players.instanceFolder(index) / kUnfinishedCopyMarker) ? -1 : 0;
}

void KVMultiModel::readSettings(model::InstanceRecord& record, int index, const common::ConfigDocument& doc) {
    // The default is worked out only for a resolution that is missing or incomplete: a list of thousands
    // would ask the screen's width for each.
    const common::Resolution resolution = doc.getResolution(common::keys::kResolution, {});
    record.width = resolution.width;
    record.height = resolution.height;
    if (resolution.width == 0 || resolution.height == 0) {
        const common::Resolution fallback = common::defaults::resolutionFor(index, platform::primaryScreenWidth());
        if (record.width == 0) record.width = fallback.width;
        if (record.height == 0) record.height = fallback.height;
    }
    record.dpi = doc.getInt(common::keys::kResolutionDpi, 0);
    if (record.dpi == 0) record.dpi = kDefaultDpi;
    record.cpuCount = doc.getInt(common::keys::kCpuCount, defaultCpuCount());
    record.memorySize = doc.getInt(common::keys::kMemorySize, defaultMemoryMb());
}

void KVMultiModel::reloadSettings(const std::vector<std::int32_t>& ids) {
    for (const std::int32_t id : ids) {
        model::InstanceRecord* listed = record(id);
        if (!listed) continue;
        const common::Players& players = m_players.line(product::productOfId(id));
        common::ConfigDocument config;
        config.load(players.configPath(product::indexOfId(id)));
        readSettings(*listed, product::indexOfId(id), config);
        model::notify(m_events.settingsChanged, "settingsChanged", id);
    }
}
