#pragma once
// The file names and file-dialog requests of a backup and a restore.

#include <filesystem>
#include <string>
#include <string_view>

#include "ui/setup/FileRequest.h"

namespace setupui {

// The instance's name without the nine characters a file name cannot hold (\ / : * ? " < > |), then ".kvbk".
std::wstring defaultBackupName(std::wstring_view instanceName);

// The save dialog of a backup: backup files only, the default name proposed, starting in `folder`.
FileRequest backupSaveRequest(std::wstring_view instanceName, const std::filesystem::path& folder);
// The open dialog of a restore: backups and bare disk images, starting in the product line's folder.
FileRequest restoreOpenRequest(const std::filesystem::path& lineFolder);

} // namespace setupui
