#pragma once
// The floor the listing benchmarks compare against: a bare listing of a line's instance folders and one
// RapidJSON parse of each configuration; returns the members parsed.

#include <rapidjson/document.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace bench {

inline std::size_t floorScan(const std::filesystem::path& base) {
    namespace fs = std::filesystem;
    std::size_t members = 0;
    for (const auto& entry : fs::directory_iterator(base / "vms")) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory() || name.rfind("vantor", 0) != 0) continue;
        std::ifstream in(base / "vms" / "config" / (name + ".config"), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        rapidjson::Document doc;
        doc.Parse(text.data(), text.size());
        if (doc.IsObject()) members += doc.MemberCount();
    }
    return members;
}

} // namespace bench
