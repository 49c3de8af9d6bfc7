#pragma once
// A skin file as the program ships it (resources/skin, KV_SKIN_DIR of the test target), for headless tests.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

inline std::string shippedSkin(const wchar_t* name) {
    std::ifstream in(std::filesystem::path(KV_SKIN_DIR) / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace testing_support
