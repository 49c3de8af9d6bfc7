#pragma once
// Reading a shell-link (.lnk) file in the published binary format, with no help from the operating system:
// the target path, the arguments and the working folder, as far as the file stores them.
//
// The target comes from the link-info structure (local base path and common suffix, preferring their
// Unicode forms; or the network share name), else from the target's item-id list (drive and folder
// items), else from the environment-variable data block (left unexpanded). Every size and offset in the
// file is checked before use: a damaged file gives an empty result and a log line, never a read outside
// its bytes. Strings stored in the system code page are taken as UTF-8 when they are valid UTF-8, else as
// Latin-1 (the reader cannot know the code page of the machine that wrote them).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace common::formats {

struct ShellLink {
    std::wstring targetPath;
    std::wstring arguments;
    std::wstring workingDirectory;
    std::wstring relativePath;
    std::wstring description;
};

// Shell links above this size are not read.
inline constexpr std::uint64_t kMaxShellLinkBytes = 1024 * 1024;

std::optional<ShellLink> readShellLink(std::string_view bytes);
std::optional<ShellLink> readShellLinkFile(const std::filesystem::path& file);

} // namespace common::formats
