#pragma once
// Replacing a file's whole content so that a crash mid-write never leaves half a file: the bytes go to a
// temporary file next to the target, which then replaces the target in one rename.

#include <filesystem>
#include <string_view>

namespace common::files {

// False (and the target untouched) when the temporary file cannot be written or the rename fails.
[[nodiscard]] bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes);

} // namespace common::files
