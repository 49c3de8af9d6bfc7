#pragma once
// SHA-256 of a file, as lower-case hex: what a downloaded installer is compared with before it may run.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace install {

// None when the file cannot be read.
std::optional<std::string> sha256OfFile(const std::filesystem::path& file);
std::string sha256OfBytes(std::string_view bytes);

} // namespace install
