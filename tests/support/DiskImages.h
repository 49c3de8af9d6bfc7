#pragma once
// Small stand-ins for disk images: sparse files of a given size with a recognisable first line.

#include <filesystem>
#include <fstream>
#include <string>

namespace testing_support {

inline void writeDiskImage(const std::filesystem::path& path, const std::string& head, std::uintmax_t size = 0) {
    std::filesystem::create_directories(path.parent_path());
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << head;
    }
    if (size > head.size()) std::filesystem::resize_file(path, size);
}

inline std::string headOf(const std::filesystem::path& path, std::size_t n = 64) {
    std::ifstream in(path, std::ios::binary);
    std::string s(n, '\0');
    in.read(s.data(), static_cast<std::streamsize>(n));
    s.resize(static_cast<std::size_t>(in.gcount()));
    return s.substr(0, s.find('\0'));
}

} // namespace testing_support
