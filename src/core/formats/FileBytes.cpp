#include "core/formats/FileBytes.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace common::formats {

// Opened and read to its end without asking for its size first: a scan reads thousands of small files, and
// a size query costs as much as the open. Most files fit the first read into a buffer on the stack.
std::optional<std::string> readFileBytes(const std::filesystem::path& path, std::uint64_t maxBytes) {
    std::ifstream in;
    in.rdbuf()->pubsetbuf(nullptr, 0); // reads go straight into our buffers
    in.open(path, std::ios::binary);
    if (!in) return std::nullopt;
    char first[16 * 1024];
    in.read(first, sizeof first);
    if (in.bad() || static_cast<std::uint64_t>(in.gcount()) > maxBytes) return std::nullopt;
    std::string bytes(first, static_cast<std::size_t>(in.gcount()));
    while (in) {
        const std::size_t used = bytes.size();
        // One byte past the limit is enough to know the file is too large.
        const auto room = std::min<std::uint64_t>(std::max<std::size_t>(used, sizeof first), maxBytes + 1 - used);
        bytes.resize(used + static_cast<std::size_t>(room));
        in.read(bytes.data() + used, static_cast<std::streamsize>(room));
        if (in.bad()) return std::nullopt;
        bytes.resize(used + static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxBytes) return std::nullopt;
    }
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
