#pragma once
// What the Windows tests that start the manager itself share: their arguments (kvmulti.exe, then the
// stand-in folder) as Windows paths, and install folders of one line holding the stand-in of a generation and
// instances "demo 0".."demo n-1".

#include <filesystem>
#include <string>

#include "support/StandInHarness_win.h"
#include "support/TempDir.h"

namespace testing_support {

inline std::filesystem::path arg(std::size_t i) {
    return i < testArguments().size() ? windowsPathOf(testArguments()[i]) : std::filesystem::path();
}

inline void writeText(const std::filesystem::path& file, const std::string& text) {
    std::filesystem::create_directories(file.parent_path());
    writeFile(file, text);
}

inline void installLine(const std::filesystem::path& folder, const wchar_t* major, int count) {
    std::filesystem::create_directories(folder / "vms" / "config");
    std::filesystem::copy_file(arg(1) / major / "rqplayer.exe", folder / "rqplayer.exe");
    for (int i = 0; i < count; ++i) {
        std::filesystem::create_directories(folder / "vms" / ("vantor" + std::to_string(i)));
        writeText(folder / "vms" / "config" / ("vantor" + std::to_string(i) + ".config"),
                  R"({"statusSettings.playerName": "demo )" + std::to_string(i) + R"("})");
    }
}

} // namespace testing_support
