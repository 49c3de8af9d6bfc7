// The walks' file-system steps on Windows. Every entry is opened itself (FILE_FLAG_OPEN_REPARSE_POINT) and
// its final path compared with the place it was listed at: a symbolic link or junction then stands where it
// is and is deleted itself through that handle. Wine opens a Unix symbolic link as what it points to even
// with that flag, and DeleteFileW, RemoveDirectoryW and MoveFileExW by name act on the link's target there;
// such an entry has a final path elsewhere and is refused, never touched.

#include <windows.h>

#include <string>

#include "core/platform/FileTree.h"
#include "platform/win32/system/Owned_win.h"
#include "platform/win32/system/Win32Check_win.h"

namespace platform::files {
namespace {

std::error_code win32Error(DWORD error) {
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return std::make_error_code(std::errc::no_such_file_or_directory);
    return {static_cast<int>(error), std::system_category()};
}

using win32::UniqueHandle;

// The entry itself, never what a reparse point leads to; folders need backup semantics to open at all.
HANDLE openItself(const std::filesystem::path& path, DWORD access) {
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

std::wstring finalPath(HANDLE h) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetFinalPathNameByHandleW(h, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(n + 1);
    }
}

std::wstring finalPathOf(const std::filesystem::path& path) {
    UniqueHandle h(openItself(path, FILE_READ_ATTRIBUTES));
    return h ? finalPath(h.get()) : std::wstring{};
}

std::wstring childOf(const std::wstring& folderFinal, const std::wstring& name) {
    if (!folderFinal.empty() && folderFinal.back() == L'\\') return folderFinal + name;
    return folderFinal + L'\\' + name;
}

// Names compare as the file system does: without regard to case.
bool samePath(const std::wstring& a, const std::wstring& b) {
    return !a.empty() && CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// The final path of the folder holding `path`; empty for a path without one (a drive root).
std::wstring parentFinalPath(const std::filesystem::path& path) {
    if (!path.has_parent_path() || path.parent_path() == path) return {};
    return finalPathOf(path.parent_path());
}

// Whether the open entry is the one named like `path` in the folder whose final path is `parentFinal`. A
// drive root has nothing to be compared with and stands where it is.
bool standsAt(HANDLE h, const std::filesystem::path& path, const std::wstring& parentFinal) {
    if (!path.has_parent_path() || path.parent_path() == path) return true;
    return samePath(finalPath(h), childOf(parentFinal, path.filename().wstring()));
}

EntryKind classify(const std::filesystem::path& path, DWORD attributes, const std::wstring& parentFinal) {
    UniqueHandle h(openItself(path, FILE_READ_ATTRIBUTES));
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!h) // held open without sharing by someone: what the listing says, re-checked before any deletion
        return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? EntryKind::Link
                                                           : (folder ? EntryKind::Folder : EntryKind::File);
    if (!standsAt(h.get(), path, parentFinal)) return EntryKind::Elsewhere;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) return EntryKind::Link;
    return folder ? EntryKind::Folder : EntryKind::File;
}

} // namespace

std::error_code listFolder(const std::filesystem::path& folder, std::vector<Entry>& entries) {
    entries.clear();
    EntryKind self = EntryKind::File;
    if (const auto error = entryKind(folder, self)) return error;
    if (self != EntryKind::Folder) return std::make_error_code(std::errc::not_a_directory);
    const std::wstring folderFinal = finalPathOf(folder);
    const std::wstring pattern = (folder / L"*").wstring();
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return win32Error(GetLastError());
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const EntryKind kind = classify(folder / name, data.dwFileAttributes, folderFinal);
        const std::uint64_t bytes = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        entries.push_back({name, kind, kind == EntryKind::File ? bytes : 0});
    } while (FindNextFileW(find, &data));
    const DWORD error = GetLastError();
    FindClose(find);
    return error == ERROR_NO_MORE_FILES ? std::error_code{} : win32Error(error);
}

std::error_code entryKind(const std::filesystem::path& path, EntryKind& kind) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return win32Error(GetLastError());
    kind = classify(path, attributes, parentFinalPath(path));
    return {};
}

std::error_code removeEntry(const std::filesystem::path& path) {
    UniqueHandle h(openItself(path, DELETE | FILE_READ_ATTRIBUTES));
    if (!h) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return win32Error(error);
        KV_WIN32_CHECK(static_cast<bool>(h)); // logs the open's error, which nothing has changed yet
        return win32Error(error);
    }
    if (!standsAt(h.get(), path, parentFinalPath(path)))
        return std::make_error_code(std::errc::operation_not_permitted);
    FILE_BASIC_INFO basic{};
    const bool folder = GetFileInformationByHandleEx(h.get(), FileBasicInfo, &basic, sizeof basic) &&
                        (basic.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                        !(basic.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (!KV_WIN32_CHECK(SetFileInformationByHandle(h.get(), FileDispositionInfo, &disposition, sizeof disposition)))
        return win32Error(GetLastError());
    h.reset(); // the deletion happens here
    // Wine accepts the disposition of a folder that is not empty and then keeps the folder on close.
    if (folder && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return win32Error(ERROR_DIR_NOT_EMPTY);
    return {};
}

} // namespace platform::files
