#pragma once
// The file version of an executable's version resource, through the platform's version API.

#include <filesystem>
#include <string>

namespace platform::win32 {

// "%d.%d.%d.%d" of the fixed file information; empty when the file has no version resource.
std::wstring fileVersionText(const std::filesystem::path& file);

} // namespace platform::win32
