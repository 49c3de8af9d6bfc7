// Any bytes as a PE file whose version resource is read.

#include <cstddef>
#include <cstdint>

#include "core/formats/PeVersion.h"
#include "support/LogCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log; // lines are formatted too, and kept for this input only
    if (const auto version =
            common::formats::readFileVersion(std::string_view(reinterpret_cast<const char*>(data), size)))
        (void)version->text();
    return 0;
}
