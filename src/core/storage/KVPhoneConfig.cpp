#include "core/storage/KVPhoneConfig.h"

#include <rapidjson/document.h>

#include <cerrno>
#include <fstream>
#include <iterator>

#include "core/log/Log.h"
#include "core/platform/Os.h"
#include "core/text/Utf.h"

namespace common {
namespace {

std::string readFilePhone(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        KVLOG_AS("readFilePhone", L" openfile error %d", errno);
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::wstring member(const rapidjson::Value& entry, const char* name) {
    const auto it = entry.FindMember(name);
    if (it == entry.MemberEnd() || !it->value.IsString()) return {};
    return text::fromUtf8(std::string_view(it->value.GetString(), it->value.GetStringLength()));
}

} // namespace

KVPhoneConfig& KVPhoneConfig::instance() {
    static KVPhoneConfig config;
    return config;
}

void KVPhoneConfig::loadConfig() {
    loadConfig(platform::programFolder() / "phones.data");
}

void KVPhoneConfig::loadConfig(const std::filesystem::path& file) {
    m_phones.clear();
    const std::string content = readFilePhone(file);
    rapidjson::Document doc;
    doc.Parse<rapidjson::kParseIterativeFlag>(content.data(), content.size());
    if (doc.HasParseError() || !doc.IsObject()) {
        KVLOG_AS("KVPhoneConfig::loadConfig", L"not a json object");
        return;
    }
    const auto phones = doc.FindMember("phones");
    if (phones == doc.MemberEnd() || !phones->value.IsArray()) return;
    for (const auto& entry : phones->value.GetArray()) {
        if (!entry.IsObject()) continue;
        m_phones.push_back({member(entry, "maker"), member(entry, "name"), member(entry, "model")});
    }
}

PhoneInfo KVPhoneConfig::pickAt(std::time_t seconds) const {
    if (m_phones.empty()) return {};
    const auto count = static_cast<std::uint64_t>(m_phones.size());
    return m_phones[static_cast<std::size_t>(static_cast<std::uint64_t>(seconds) % count)];
}

} // namespace common
