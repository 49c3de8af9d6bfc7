#pragma once
// The stand-in's command line: "|"-separated key=value items (see StandInProtocol.h).

#include <cstdint>
#include <optional>
#include <string_view>

namespace standin {

struct Options {
    int index = -1;
    std::optional<int> line;
    std::optional<std::uint32_t> hangOn;
    std::optional<int> exitCode;
    bool stayOnQuit = false;
};

// Items without "=" and unknown keys are ignored; the program's own path may lead the text.
Options parseOptions(std::wstring_view commandLine);

} // namespace standin
