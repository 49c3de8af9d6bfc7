// Any bytes as a PE file whose version resource is read.

#include <cstddef>
#include <cstdint>

#include "FuzzerLog.h"
#include "core/formats/PeVersion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kvfuzz::installDroppingLog();
    if (const auto version =
            common::formats::readFileVersion(std::string_view(reinterpret_cast<const char*>(data), size)))
        (void)version->text();
    return 0;
}
