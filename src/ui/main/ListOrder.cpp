#include "ui/main/ListOrder.h"

#include <algorithm>
#include <string>

#include "core/platform/Language.h"

namespace mainui {

namespace {

constexpr SortModeItem kSortModes[kSortModeCount] = {
    {L"MENU_SORT_INDEX_UP", L"multiplay_menu_sort_index_up", L"file='multiplayer_all\\sort.png' dest='4,4,28,28'"},
    {L"MENU_SORT_INDEX_DOWN", L"multiplay_menu_sort_index_down",
     L"file='multiplayer_all\\sort_up.png' dest='4,4,28,28'"},
    {L"MENU_SORT_NAME_UP", L"multiplay_menu_sort_name_up", L"file='multiplayer_all\\sort.png' dest='4,4,28,28'"},
    {L"MENU_SORT_NAME_DOWN", L"multiplay_menu_sort_name_down", L"file='multiplayer_all\\sort_up.png' dest='4,4,28,28'"},
};

// Stored as an int: -1 is the unsigned 4294967295 that marks a mode never derived.
constexpr int kNotDerived = -1;

} // namespace

const SortModeItem& sortModeItem(SortMode mode) {
    return kSortModes[mode < kSortModeCount ? mode : kSortIndexUp];
}

SortMode sortModeOfCommand(std::wstring_view command) {
    for (SortMode mode = 0; mode < kSortModeCount; ++mode)
        if (kSortModes[mode].command == command) return mode;
    return kSortModeCount;
}

SortMode currentSortMode(common::GlobalSettings& settings) {
    const int stored = settings.get(common::settings::multiPlayerSortV2);
    if (stored != kNotDerived) return static_cast<SortMode>(stored);
    const SortMode migrated = settings.get(common::settings::multiPlayerSort) > 0 ? kSortNameUp : kSortIndexUp;
    settings.set(common::settings::multiPlayerSortV2, static_cast<int>(migrated));
    (void)settings.save(); // a failed save is logged; the mode holds for this run and is derived again next time
    return migrated;
}

int compareNames(std::wstring_view a, std::wstring_view b) {
    if (const auto order = platform::compareNamesForDisplay(a, b)) return *order;
    return a.compare(b);
}

void sortInstances(std::vector<const model::InstanceRecord*>& records, SortMode mode) {
    const auto byId = [](const model::InstanceRecord* a, const model::InstanceRecord* b) { return a->id < b->id; };
    std::sort(records.begin(), records.end(), byId);
    switch (mode) {
    case kSortIndexDown:
        std::reverse(records.begin(), records.end());
        break;
    case kSortNameUp:
        std::stable_sort(records.begin(), records.end(),
                         [](const auto* a, const auto* b) { return compareNames(a->name, b->name) < 0; });
        break;
    case kSortNameDown:
        std::stable_sort(records.begin(), records.end(),
                         [](const auto* a, const auto* b) { return compareNames(a->name, b->name) > 0; });
        break;
    default:
        break;
    }
}

void sortGroups(std::vector<const model::Group*>& groups, SortMode mode) {
    const bool descending = mode == kSortNameDown;
    std::stable_sort(groups.begin(), groups.end(), [descending](const model::Group* a, const model::Group* b) {
        const int order = compareNames(a->name, b->name);
        return descending ? order > 0 : order < 0;
    });
}

bool matchesSearch(const model::InstanceRecord& record, std::wstring_view text) {
    if (text.empty()) return true;
    if (text == std::to_wstring(record.id & 0xFFFFFF)) return true;
    return std::wstring_view(record.name).find(text) != std::wstring_view::npos;
}

} // namespace mainui
