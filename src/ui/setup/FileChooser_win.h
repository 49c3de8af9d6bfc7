#pragma once
// The system's common file dialogs for a FileRequest, owned by `owner` (which they disable while open).

#include <windows.h>

#include "ui/setup/FileRequest.h"

namespace setupui::win32 {

std::optional<std::filesystem::path> chooseSaveFile(HWND owner, const FileRequest& request);
std::optional<std::filesystem::path> chooseOpenFile(HWND owner, const FileRequest& request);

} // namespace setupui::win32
