#pragma once
// Building a resource pack in memory from named entries (format in RccFormat.h).
//
// Used by the packer tool at build time and by tests; it needs nothing of the core beyond RccFormat.h, so the
// tool compiles it alone with the build machine's compiler. It never writes a pack the reader would reject:
// invalid names are refused.

#include <optional>
#include <string>
#include <vector>

namespace common::rcc {

struct RccEntry {
    std::string name; // UTF-8, "/" between folders
    std::string data;
};

// The pack's bytes, entries sorted by name; nothing when a name is empty, too long or given twice.
std::optional<std::string> buildPack(std::vector<RccEntry> entries);

} // namespace common::rcc
