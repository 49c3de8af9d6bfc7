#include "core/install/InstallPackages.h"

#include <rapidjson/document.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <sstream>

#include "core/log/Log.h"
#include "core/text/Utf.h"

namespace install {
namespace {

// By KV_PRODUCT_TYPE.
constexpr std::array<PackageInfo, product::kProductCount> kPackages = {{
    {L"KVPlayer32.exe", "mnq5", "/download/package/KVPlayer4.0.exe"},
    {L"KVPlayer64.exe", "mnq5(64)", "/download/package/KVPlayer64.exe"},
    {L"KVPlayer9.exe", "mnq9", "/download/package/KVPlayer9.0.exe"},
    {L"KVPlayer3.exe", "mnq", "/download/package/KVPlayer3.0.exe"},
    {L"KVPlayer14.exe", "mnq14", "/download/package/KVPlayer14.0.exe"},
}};

std::string_view trim(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

bool isHexDigest(std::string_view text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(c) != 0; });
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

} // namespace

const PackageInfo& packageInfo(KV_PRODUCT_TYPE product) {
    return kPackages.at(static_cast<std::size_t>(product));
}

Servers defaultServers() {
    return {"https://resource.kvmulti.example", "https://download.kvmulti.example"};
}

bool isBaseAddress(std::string_view address) {
    std::string_view rest;
    if (address.starts_with("http://")) {
        rest = address.substr(7);
    } else if (address.starts_with("https://")) {
        rest = address.substr(8);
    } else {
        return false;
    }
    if (rest.empty() || rest.front() == '/' || address.back() == '/') return false;
    return std::none_of(address.begin(), address.end(),
                        [](char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; });
}

Servers parseServers(std::string_view iniText) {
    Servers servers = defaultServers();
    std::istringstream lines{std::string(iniText)};
    std::string line;
    bool inSection = false;
    while (std::getline(lines, line)) {
        const std::string_view text = trim(line);
        if (text.empty() || text.front() == ';' || text.front() == '#') continue;
        if (text.front() == '[') {
            inSection = lower(text) == "[servers]";
            continue;
        }
        const auto equals = text.find('=');
        if (!inSection || equals == std::string_view::npos) continue;
        const std::string key = lower(trim(text.substr(0, equals)));
        const std::string_view value = trim(text.substr(equals + 1));
        std::string* target = key == "resource" ? &servers.resource : key == "download" ? &servers.download : nullptr;
        if (!target) continue;
        if (isBaseAddress(value)) {
            *target = std::string(value);
        } else {
            KVLOG_AS("install::loadServers", L"servers.ini: %s address %s ignored", common::text::fromUtf8(key),
                     common::text::fromUtf8(value));
        }
    }
    return servers;
}

Servers loadServers(const std::filesystem::path& iniFile) {
    std::ifstream in(iniFile, std::ios::binary);
    if (!in) return defaultServers();
    std::ostringstream text;
    text << in.rdbuf();
    return parseServers(text.str());
}

PackageChoice choosePackage(std::string_view document, KV_PRODUCT_TYPE product, const Servers& servers) {
    const PackageInfo& info = packageInfo(product);
    PackageChoice choice{servers.download + std::string(info.packagePath), {}};
    rapidjson::Document doc;
    doc.Parse(document.data(), document.size());
    if (doc.HasParseError() || !doc.IsObject()) return choice;
    const auto member = doc.FindMember(
        rapidjson::Value(info.documentKey.data(), static_cast<rapidjson::SizeType>(info.documentKey.size())));
    if (member == doc.MemberEnd() || !member->value.IsObject()) return choice;
    const rapidjson::Value& entry = member->value;
    if (const auto spare = entry.FindMember("url_spare");
        spare != entry.MemberEnd() && spare->value.IsString() && spare->value.GetStringLength() > 0)
        choice.url.assign(spare->value.GetString(), spare->value.GetStringLength());
    if (const auto digest = entry.FindMember("sha256"); digest != entry.MemberEnd() && digest->value.IsString()) {
        const std::string_view text(digest->value.GetString(), digest->value.GetStringLength());
        if (isHexDigest(text)) {
            choice.sha256 = lower(text);
        } else {
            // A digest that cannot be right refuses every file: better than running one unchecked.
            choice.sha256 = "invalid:" + std::string(text.substr(0, 80));
        }
    }
    return choice;
}

} // namespace install
