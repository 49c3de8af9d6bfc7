#pragma once
// The target of a shortcut (.lnk) file: the installer service's answer for advertised shortcuts, otherwise
// the target path recorded in the file.

#include <filesystem>

namespace platform::win32 {

// Empty for a path shorter than 5 characters or not ending in ".lnk" (any case), for a shortcut that does
// not resolve, and for a target longer than 259 characters (logged).
std::filesystem::path resolveShortcutFromFile(const std::filesystem::path& shortcut);

} // namespace platform::win32
