#pragma once
// The phone list "phones.data" beside the program: makers, names and models that new instances present.
// Loaded once at start-up, read afterwards; a missing or broken file leaves the list empty and new
// instances then get empty maker and model (the configuration loader fills in its defaults later).

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace common {

struct PhoneInfo {
    std::wstring maker;
    std::wstring name;
    std::wstring model;
    bool operator==(const PhoneInfo&) const = default;
};

class KVPhoneConfig {
public:
    static KVPhoneConfig& instance(); // the process-wide list

    // Replaces the list with the one in "phones.data" of the program's folder, or of `file`.
    void loadConfig();
    void loadConfig(const std::filesystem::path& file);

    // Entry (now in seconds) mod count, so instances made in the same second get the same phone; three
    // empty texts when the list is empty.
    PhoneInfo pick() const { return pickAt(std::time(nullptr)); }
    PhoneInfo pickAt(std::time_t seconds) const;
    const std::vector<PhoneInfo>& phones() const { return m_phones; }

private:
    std::vector<PhoneInfo> m_phones;
};

} // namespace common
