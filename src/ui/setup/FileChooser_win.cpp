#include "ui/setup/FileChooser_win.h"

#include <commdlg.h>

#include <vector>

#include "core/log/Log.h"

namespace setupui::win32 {

namespace {

// The filter is pairs of NUL-ended texts, ended by one more NUL.
std::wstring filterOf(const FileRequest& request) {
    std::wstring filter = request.filterText;
    filter += L'\0';
    filter += request.pattern;
    filter += L'\0';
    filter += L'\0';
    return filter;
}

std::optional<std::filesystem::path> run(HWND owner, const FileRequest& request, bool save) {
    std::vector<wchar_t> file(32768, L'\0'); // room for long paths
    request.fileName.copy(file.data(), std::min(request.fileName.size(), file.size() - 1));
    const std::wstring filter = filterOf(request);
    const std::wstring folder = request.folder.wstring();
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
                (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) {
        // 0: the user cancelled; anything else is the dialog's own failure.
        if (const DWORD error = CommDlgExtendedError())
            KVLOG_AS("setupui::win32::chooseFile", L"file dialog failed: 0x%x", static_cast<unsigned>(error));
        return std::nullopt;
    }
    return std::filesystem::path(file.data());
}

} // namespace

std::optional<std::filesystem::path> chooseSaveFile(HWND owner, const FileRequest& request) {
    return run(owner, request, true);
}

std::optional<std::filesystem::path> chooseOpenFile(HWND owner, const FileRequest& request) {
    return run(owner, request, false);
}

} // namespace setupui::win32
