// rccpack: builds the resource pack "rqresource.rcc" at build time (format in core/resources/RccFormat.h).
//
//   rccpack <output.rcc> <name>=<path>...
//
// A <path> that is a folder adds every file below it as "<name>/<relative path>" ("/" between folders); a
// file adds itself as "<name>". Runs on the build machine, so it uses only standard C++ and the pack writer.
// It writes the pack to a temporary file and renames it, so a failed run never leaves half a pack.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "core/resources/RccWriter.h"

namespace fs = std::filesystem;
using common::rcc::RccEntry;

namespace {

bool readWhole(const fs::path& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool addInput(const std::string& name, const fs::path& path, std::vector<RccEntry>& entries) {
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        entries.push_back({name, {}});
        return readWhole(path, entries.back().data);
    }
    if (!fs::is_directory(path, ec)) return false;
    for (const auto& item : fs::recursive_directory_iterator(path, ec)) {
        if (!item.is_regular_file()) continue;
        entries.push_back({name + '/', {}});
        entries.back().name += fs::relative(item.path(), path).generic_string();
        if (!readWhole(item.path(), entries.back().data)) return false;
    }
    return !ec;
}

bool writeAtomically(const fs::path& output, const std::string& bytes) {
    const fs::path temporary = output.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(temporary, output, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: rccpack <output.rcc> <name>=<path>...\n";
        return 2;
    }
    std::vector<RccEntry> entries;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq == std::string::npos || eq == 0 || !addInput(arg.substr(0, eq), arg.substr(eq + 1), entries)) {
            std::cerr << "rccpack: cannot add " << arg << "\n";
            return 1;
        }
    }
    const auto pack = common::rcc::buildPack(std::move(entries));
    if (!pack || !writeAtomically(argv[1], *pack)) {
        std::cerr << "rccpack: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
