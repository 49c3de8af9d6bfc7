#include "ui/main/MenuRules.h"

namespace mainui {

bool isRunningStatus(int status) {
    return status == 1 || status == 2;
}

bool isBusyStatus(int status) {
    return status >= 3 && status <= 12;
}

std::vector<MenuEntry> instanceMenu(int status, bool inGroup, const OpenableWindows& windows) {
    const bool idle = !isRunningStatus(status) && !isBusyStatus(status);
    std::vector<MenuEntry> entries{
        {L"multi_setup_item", L"setup", idle && windows.settings},
        {L"multi_copy", L"copy", idle && windows.copy},
        {L"multi_show_player", L"run", isRunningStatus(status)},
        {L"multiplay_backup_and_restore", L"save", idle && windows.backup},
        {L"multiplay_shortcut", L"shortcut", true},
        {L"multi_move_in_group", L"moveToGrouup", true},
    };
    if (inGroup) entries.push_back({L"multi_move_out_group", L"moveOutGroup", true});
    entries.push_back({L"multiplay_remove_player_tip", L"delete", idle});
    return entries;
}

std::vector<MenuEntry> addMenu(const OpenableWindows& windows) {
    return {{L"multiplay_new_player", L"MENU_ADD", windows.add},
            {L"multiplay_copy_player", L"MENU_COPY", windows.copy}};
}

std::vector<MenuEntry> batchMenu(int selectedCount, bool anySelectedRunning, const OpenableWindows& windows) {
    const bool some = selectedCount > 0;
    return {{L"multiplay_menu_batch_setup", L"MENU_BATCH", some && windows.settings},
            {L"multi_move_in_group", L"MENU_MOVE_GROUP", some},
            {L"multi_move_out_group", L"MENU_MOVEOUT_GROUP", some},
            {L"multiplay_delete_selecteds", L"MENU_REMOVE", some && !anySelectedRunning}};
}

std::vector<MenuEntry> sequenceMenu(const OpenableWindows& windows) {
    return {{L"multiplay_menu_sequeue_all", L"MENU_ALL", true},
            {L"multiplay_menu_sequeue_selected", L"MENU_SELECTED", true},
            {L"multiplay_menu_sequeue_setup", L"MENU_SETUP", windows.setup}};
}

std::vector<MenuEntry> mainMenu(const OpenableWindows& windows) {
    return {{L"multiplay_setup", L"MENU_SETUP", windows.setup}};
}

std::uint32_t batchStartIntervalMs(int storedSeconds) {
    return storedSeconds > 0 ? static_cast<std::uint32_t>(storedSeconds) * 1000u : 1000u;
}

} // namespace mainui
