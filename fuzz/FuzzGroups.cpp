// Any bytes as the groups file: what a save writes of the groups read must read back as the same groups,
// and saving those again must write the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/model/GroupStore.h"
#include "support/LogCapture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log; // lines are formatted too, and kept for this input only
    model::GroupStore read("unused");      // parse and serialize never touch the folder
    read.parse(std::string_view(reinterpret_cast<const char*>(data), size), KV_PRODUCT_14);
    const std::string saved = read.serialize();
    model::GroupStore again("unused");
    again.parse(saved, KV_PRODUCT_14);
    for (int line = 0; line < product::kProductCount; ++line) {
        const auto product = static_cast<KV_PRODUCT_TYPE>(line);
        if (read.groups(product) != again.groups(product)) std::abort();
    }
    if (again.serialize() != saved) std::abort();
    return 0;
}
