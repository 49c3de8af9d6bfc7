// Flushing a file on Windows: FlushFileBuffers wants a handle with write access; it flushes the file's cached
// data whichever handle wrote it, so the writer may have closed its own handle already.

#include <windows.h>

#include "core/platform/FileSync.h"
#include "platform/win32/system/Owned_win.h"
#include "platform/win32/system/Win32Check_win.h"

namespace platform {

bool flushFileToDisk(const std::filesystem::path& file) {
    const win32::UniqueHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!KV_WIN32_CHECK(handle)) return false;
    return KV_WIN32_CHECK(FlushFileBuffers(handle.get()));
}

} // namespace platform
