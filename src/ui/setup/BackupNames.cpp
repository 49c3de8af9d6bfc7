#include "ui/setup/BackupNames.h"

#include "core/lang/LanguageStrings.h"

namespace setupui {

std::wstring defaultBackupName(std::wstring_view instanceName) {
    std::wstring name;
    for (wchar_t c : instanceName)
        if (std::wstring_view(L"\\/:*?\"<>|").find(c) == std::wstring_view::npos) name += c;
    return name + L".kvbk";
}

FileRequest backupSaveRequest(std::wstring_view instanceName, const std::filesystem::path& folder) {
    return {common::lang::lookUpWithFallback(L"multiplay_backup_file_text") + L"(*.kvbk)", L"*.kvbk", L"kvbk", folder,
            defaultBackupName(instanceName)};
}

FileRequest restoreOpenRequest(const std::filesystem::path& lineFolder) {
    return {common::lang::lookUpWithFallback(L"multiplay_backup_file_text") + L"(*.kvbk;*.vmdk)", L"*.kvbk;*.vmdk", L"",
            lineFolder, L""};
}

} // namespace setupui
