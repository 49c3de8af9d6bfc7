#include "ui/setup/DiskModeCheck.h"

namespace setupui {

std::wstring linesOnSlowDisks(const model::InstallFolders& folders, const SolidStateQuery& solidState) {
    constexpr std::pair<KV_PRODUCT_TYPE, const wchar_t*> kChecked[] = {
        {KV_PRODUCT_14, L"14"}, {KV_PRODUCT_9, L"9"}, {KV_PRODUCT_71_32, L"7"}};
    std::wstring failing;
    for (const auto& [line, number] : kChecked) {
        const std::wstring& folder = folders[static_cast<std::size_t>(line)];
        if (folder.empty()) continue;
        if (folder.size() > 2 && solidState && solidState(std::wstring_view(folder).substr(0, 2))) continue;
        if (!failing.empty()) failing += L'\u3001';
        failing += number;
    }
    return failing;
}

} // namespace setupui
