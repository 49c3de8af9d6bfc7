// Any bytes as a shell-link file.

#include <cstddef>
#include <cstdint>

#include "FuzzerLog.h"
#include "core/formats/ShellLink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kvfuzz::installDroppingLog();
    (void)common::formats::readShellLink(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
