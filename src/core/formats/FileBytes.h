#pragma once
// Reading a whole file into memory with an upper size limit, for the parsers of small file formats.
//
// Never reads more than the limit: a larger file, a missing one or a failed read gives nothing, and the caller
// logs what it was trying to read.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace common::formats {

std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes);

// Reads up to `count` bytes at `offset`; fewer when the file ends first, nothing when it cannot be read.
std::optional<std::string> readFileRange(const std::filesystem::path& path, std::uint64_t offset, std::uint64_t count);

} // namespace common::formats
