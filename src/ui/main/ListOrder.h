#pragma once
// The order and the filter of the main list, kept apart from the controls: the four sort modes with their
// menu items and button images, the stored mode (and its one-time migration from the older setting), the
// name order people expect, and which instances a search text matches.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/model/GroupStore.h"
#include "core/model/InstanceRecord.h"
#include "core/storage/GlobalSettings.h"

namespace mainui {

using SortMode = std::uint32_t;
inline constexpr SortMode kSortIndexUp = 0;
inline constexpr SortMode kSortIndexDown = 1;
inline constexpr SortMode kSortNameUp = 2;
inline constexpr SortMode kSortNameDown = 3;
inline constexpr SortMode kSortModeCount = 4;

struct SortModeItem {
    std::wstring_view command; // the menu item's command key
    std::wstring_view textKey;
    std::wstring_view image; // sortBtn's normal image
};

// Modes the table does not know show as mode 0.
const SortModeItem& sortModeItem(SortMode mode);
// The command key's mode; kSortModeCount for a key that is none.
SortMode sortModeOfCommand(std::wstring_view command);

// "multiPlayerSortV2"; when it was never derived, the older "multiPlayerSort" is migrated once (above 0: by
// name ascending, else by index ascending), stored and saved.
SortMode currentSortMode(common::GlobalSettings& settings);

// Negative, zero or positive: the system's order for names people read, else code-unit order.
int compareNames(std::wstring_view a, std::wstring_view b);

// In place, by the mode: ids or names, up or down. Equal names keep their id order.
void sortInstances(std::vector<const model::InstanceRecord*>& records, SortMode mode);
// Groups go by name, descending only in mode 3.
void sortGroups(std::vector<const model::Group*>& groups, SortMode mode);

// The text is the instance index in decimal, or part of the name (case-sensitive). An empty text matches all.
bool matchesSearch(const model::InstanceRecord& record, std::wstring_view text);

} // namespace mainui
