#pragma once
// The file version of a Windows executable or library, read from its version resource (VS_FIXEDFILEINFO)
// with no help from the operating system, so it works on any platform and on damaged files.
//
// The reader walks the PE headers, the section table and the resource directory (type 16, first name,
// first language) and reads only those parts of a file. Every offset, count and size found in the file is
// checked before use: a file that lies, or is cut short, gives no version and a log line, never a read
// outside its bytes.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace common::formats {

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t build = 0;
    std::uint16_t revision = 0;

    std::wstring text() const; // "major.minor.build.revision"
    bool operator==(const FileVersion&) const = default;
};

// Reads up to `count` bytes at `offset` of a file: fewer at its end, nothing when it cannot.
using ByteSource = std::function<std::optional<std::string>(std::uint64_t offset, std::uint32_t count)>;

std::optional<FileVersion> readFileVersionFrom(const ByteSource& source);
std::optional<FileVersion> readFileVersion(std::string_view peImage);
std::optional<FileVersion> readFileVersionOfFile(const std::filesystem::path& file);

// "%d.%d.%d.%d" of the file's version, empty when it has no readable version resource.
std::wstring fileVersionText(const std::filesystem::path& file);

} // namespace common::formats
