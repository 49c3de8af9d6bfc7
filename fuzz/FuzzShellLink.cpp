// Any bytes as a shell-link file.

#include <cstddef>
#include <cstdint>

#include "core/formats/ShellLink.h"
#include "support/LogCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log; // lines are formatted too, and kept for this input only
    (void)common::formats::readShellLink(std::string_view(reinterpret_cast<const char*>(data), size));
    return 0;
}
