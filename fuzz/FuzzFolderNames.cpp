// Any bytes as the names of folders and files under "vms" (split at "/" and NUL, the bytes no name can
// hold): the scan must not crash, and the two indices reserved next must be distinct, non-negative, not
// listed already and have folders of their own that did not exist before.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/storage/Players.h"
#include "support/LogCapture.h"

namespace {

namespace fs = std::filesystem;

const fs::path& base() {
    static const fs::path folder = fs::temp_directory_path() / ("kvfuzz-names-" + std::to_string(::getpid()));
    return folder;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.insert(it->path().filename().string());
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const testing_support::LogCapture log;
    std::error_code ec;
    fs::remove_all(base(), ec);
    const fs::path vms = base() / "vms";
    fs::create_directories(vms);
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    bool asFile = false;
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find_first_of(std::string_view("/\0", 2), start), input.size());
        const std::string name(input.substr(start, end - start));
        if (!name.empty() && name != "." && name != "..") {
            if (asFile)
                std::ofstream(vms / name) << "file";
            else
                fs::create_directory(vms / name, ec);
        }
        asFile = !asFile; // every other name is a plain file
        start = end + 1;
    }
    const std::set<std::string> before = namesIn(vms);

    common::Players players(KV_PRODUCT_9);
    players.init(base());
    const std::vector<int> listed = players.indices();
    const int first = players.reserveIndex();
    const int second = players.reserveIndex();
    for (int index : {first, second}) {
        const std::string name = "vantor" + std::to_string(index);
        if (index < 0 || before.count(name) || std::count(listed.begin(), listed.end(), index) ||
            !fs::is_directory(vms / name))
            std::abort();
    }
    if (first == second) std::abort();
    return 0;
}
