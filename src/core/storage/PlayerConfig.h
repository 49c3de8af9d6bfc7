#pragma once
// Loading an instance configuration and completing it: a configuration that is missing or empty gets a
// whole new identity (and "statusSettings.isNewPlayer"), and every configuration ends up with a phone model,
// a maker and an IMEI. A changed document is saved at once; an unchanged one is never written.

#include <filesystem>

#include "core/storage/ConfigDocument.h"

namespace common {

class PlayerConfig {
public:
    // The configuration of `index` below the line's base folder. Index -1 has no file: nothing is written.
    void load(const std::filesystem::path& baseFolder, int index);
    ConfigDocument& document() { return m_doc; }

    static std::filesystem::path configPathOf(const std::filesystem::path& baseFolder, int index);

private:
    void giveNewIdentity();
    void fillMissing();

    ConfigDocument m_doc;
};

} // namespace common
