#pragma once
// Which items the main window's menus hold, in order, and which of them can be chosen now. Pure rules: the
// frame builds its menus from these lists and the tests check them for every status.

#include <cstdint>
#include <string_view>
#include <vector>

namespace mainui {

struct MenuEntry {
    std::wstring_view textKey;
    std::wstring_view command;
    bool enabled = true;
};

// The windows the frame can open today. Each arrives with its own work; until then the items and buttons
// that open it show disabled instead of doing nothing.
struct OpenableWindows {
    bool settings = false; // the instance settings dialog
    bool add = false;      // the add dialog
    bool copy = false;     // the copy dialog
    bool backup = false;   // the backup/restore window
    bool setup = false;    // the manager setup dialog
};

// Running: the instance's window is up (status 1 or 2). Busy: being made, copied, backed up, restored, or a
// row-only download or install state (3 to 12).
bool isRunningStatus(int status);
bool isBusyStatus(int status);

std::vector<MenuEntry> instanceMenu(int status, bool inGroup, const OpenableWindows& windows);
std::vector<MenuEntry> addMenu(const OpenableWindows& windows);
std::vector<MenuEntry> batchMenu(int selectedCount, bool anySelectedRunning, const OpenableWindows& windows);
std::vector<MenuEntry> sequenceMenu(const OpenableWindows& windows);
std::vector<MenuEntry> mainMenu(const OpenableWindows& windows);

// The batch start timer's interval for the stored "batchStartInterval" seconds. A stored 0 or less would
// stop the queue after its first start (a timer of 0 ms is refused), so the rest then start one second apart.
std::uint32_t batchStartIntervalMs(int storedSeconds);

} // namespace mainui

namespace mainui {

// The help page on multiple instances that "MENU_HELP" opens.
inline constexpr std::wstring_view kHelpPageUrl = L"https://kvmulti.example.org/help/multiple-instances";

} // namespace mainui
