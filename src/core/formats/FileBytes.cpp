#include "core/formats/FileBytes.h"

#include <fstream>
#include <system_error>

namespace common::formats {

std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) return std::nullopt;
    auto bytes = readFileRange(path, 0, size);
    if (!bytes || bytes->size() != size) return std::nullopt;
    return bytes;
}

std::optional<std::string> readFileRange(const std::filesystem::path& path, std::uint64_t offset, std::uint64_t count) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) return std::nullopt;
    if (offset >= size) return std::string();
    if (count > size - offset) count = size - offset; // a count read from a file may lie: never allocate past the end
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(static_cast<std::streamoff>(offset));
    if (!in) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(count), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

} // namespace common::formats
