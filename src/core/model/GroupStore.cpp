#include "core/model/GroupStore.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <system_error>

#include "core/files/AtomicFile.h"
#include "core/files/DamagedFile.h"
#include "core/formats/FileBytes.h"
#include "core/log/Log.h"
#include "core/platform/CodePage.h"

namespace model {
namespace {

struct Section {
    KV_PRODUCT_TYPE product;
    std::string_view name;
};
// The order the file is written in.
constexpr Section kSections[] = {{KV_PRODUCT_14, "vantor14"},
                                 {KV_PRODUCT_9, "vantor9"},
                                 {KV_PRODUCT_71_32, "vantor5_32"},
                                 {KV_PRODUCT_71_64, "vantor5_64"},
                                 {KV_PRODUCT_51, "vantor3"}};

std::vector<std::string_view> split(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A member field: digits only, within the range of an instance id.
bool parseMember(std::string_view field, std::int32_t& id) {
    if (!allDigits(field) || field.size() > 10) return false;
    const unsigned long long v = std::strtoull(std::string(field).c_str(), nullptr, 10);
    if (v > 0x7FFFFFFFull) return false;
    id = static_cast<std::int32_t>(v);
    return true;
}

int parseInt(std::string_view value) {
    const long v = std::strtol(std::string(value).c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(v, INT32_MIN, INT32_MAX));
}

void applySetting(Group& g, std::string_view field) {
    const std::size_t eq = field.find('=');
    if (eq == std::string_view::npos) return;
    const std::string_view key = field.substr(0, eq);
    const std::string_view value = field.substr(eq + 1);
    if (value.empty()) return;
    if (key == "left")
        g.left = parseInt(value);
    else if (key == "top")
        g.top = parseInt(value);
    else if (key == "width")
        g.width = parseInt(value);
    else if (key == "height")
        g.height = parseInt(value);
    else if (key == "expand")
        g.expand = value == "1";
}

Group parseGroup(KV_PRODUCT_TYPE section, const std::vector<std::string_view>& fields) {
    Group g;
    g.product = section;
    g.name = platform::ansiToWide(fields[0]);
    for (std::size_t i = 1; i < fields.size(); ++i) {
        std::int32_t id = 0;
        if (parseMember(fields[i], id))
            g.members.push_back(id);
        else
            applySetting(g, fields[i]);
    }
    return g;
}

void appendGroupLine(std::string& out, const Group& g) {
    out += "\r\n";
    out += platform::wideToAnsi(g.name);
    out += '|';
    for (std::int32_t id : g.members) out += std::to_string(id) + '|';
    out += "|left=" + std::to_string(g.left) + "|top=" + std::to_string(g.top) + "|width=" + std::to_string(g.width) +
           "|height=" + std::to_string(g.height) + "|expand=" + (g.expand ? "1" : "0");
}

} // namespace

std::wstring_view groupNameRefusal(std::wstring_view name) {
    const std::string bytes = platform::wideToAnsi(name);
    // Checked on the bytes: in a double-byte code page the second byte of a character may be a "|".
    if (bytes.find_first_of("|\r\n") != std::string::npos) return L"multi_group_name_separator";
    if (platform::ansiToWide(bytes) != name) return L"multi_group_name_charset";
    return {};
}

GroupStore::GroupStore(std::filesystem::path dataFolder) : m_dataFolder(std::move(dataFolder)) {}

void GroupStore::load() {
    for (auto& list : m_lists) list.clear(); // a second load (another program saved) replaces, never appends
    auto path = m_dataFolder / "groupsV2";
    std::error_code ec;
    KV_PRODUCT_TYPE firstSection = KV_PRODUCT_14;
    if (!std::filesystem::exists(path, ec)) {
        m_v2FilePresent = false;
        path = m_dataFolder / "groups";
        m_migrationDone = false;
        firstSection = KV_PRODUCT_9; // the old file has no sections
    }
    std::string content;
    if (!readFile(path, content)) KVLOG_AS("KVMultiModel::loadGroups", L"open group file error %d", errno);
    parse(content, firstSection);
    if (!m_migrationDone) migrate();
}

// False when the file is missing or could not be read; only the second makes the store keep off the file.
bool GroupStore::readFile(const std::filesystem::path& path, std::string& content) {
    constexpr std::uint64_t kMaxBytes = 16u * 1024u * 1024u; // thousands of groups take a few hundred KiB
    if (auto bytes = common::formats::readFileBytes(path, kMaxBytes)) {
        content = std::move(*bytes);
        return true;
    }
    std::error_code ec;
    m_readFailed = std::filesystem::exists(path, ec) || ec;
    return false;
}

void GroupStore::parse(std::string_view content, KV_PRODUCT_TYPE firstSection) {
    KV_PRODUCT_TYPE section = firstSection;
    for (std::string_view line : split(content, "\r\n")) {
        if (line.empty()) continue;
        const auto fields = split(line, "|");
        if (fields.size() == 1) {
            for (const auto& s : kSections)
                if (fields[0] == s.name) section = s.product;
            continue;
        }
        m_lists[index(section)].push_back(parseGroup(section, fields));
    }
}

void GroupStore::migrate() {
    m_migrationDone = true;
    auto& android9 = m_lists[index(KV_PRODUCT_9)];
    std::vector<Group> kept;
    for (Group& g : android9) {
        std::array<std::vector<std::int32_t>, product::kProductCount> byLine;
        for (std::int32_t id : g.members) {
            const auto high = (static_cast<std::uint32_t>(id) >> 24) & 0xFF;
            if (high == 0 || high == 1 || high == 3 || high == 5) byLine[index(product::productOfId(id))].push_back(id);
        }
        for (KV_PRODUCT_TYPE line : {KV_PRODUCT_71_32, KV_PRODUCT_71_64, KV_PRODUCT_51}) {
            if (byLine[index(line)].empty()) continue;
            Group copy = g;
            copy.product = line;
            copy.members = byLine[index(line)];
            m_lists[index(line)].push_back(std::move(copy));
        }
        if (!byLine[index(KV_PRODUCT_9)].empty()) {
            g.members = byLine[index(KV_PRODUCT_9)];
            kept.push_back(std::move(g));
        }
    }
    android9 = std::move(kept);
    persist();
}

std::string GroupStore::serialize() const {
    std::string out;
    for (const auto& s : kSections) {
        out += "\r\n";
        out += s.name;
        for (const Group& g : m_lists[index(s.product)]) appendGroupLine(out, g);
    }
    return out;
}

bool GroupStore::save() {
    if (m_readFailed) {
        // What the file holds was never read: writing our empty lists would throw the user's groups away.
        if (!m_changed) {
            KVLOG_AS("KVMultiModel::saveGroups", L"groups file was not read: left as it is");
            return false;
        }
        if (m_v2FilePresent && common::files::keepDamagedCopy(m_dataFolder / "groupsV2").empty()) return false;
        m_readFailed = false;
    }
    std::error_code ec;
    std::filesystem::create_directories(m_dataFolder, ec);
    if (!common::files::writeFileAtomically(m_dataFolder / "groupsV2", serialize())) {
        KVLOG_AS("KVMultiModel::saveGroups", L"save groups failed");
        return false;
    }
    return true;
}

Group* GroupStore::find(KV_PRODUCT_TYPE product, std::wstring_view name) {
    auto& list = m_lists[index(product)];
    auto it = std::find_if(list.begin(), list.end(), [&](const Group& g) { return g.name == name; });
    return it == list.end() ? nullptr : &*it;
}

bool GroupStore::nameTaken(KV_PRODUCT_TYPE product, std::wstring_view name, const Group* except) const {
    const auto& list = m_lists[index(product)];
    return std::any_of(list.begin(), list.end(), [&](const Group& g) { return &g != except && g.name == name; });
}

Group* GroupStore::createGroup(KV_PRODUCT_TYPE product, std::wstring name, std::wstring_view generatedPrefix) {
    if (!groupNameRefusal(name).empty()) {
        KVLOG_AS("KVMultiModel::createGroup", L"group name refused: %s", name);
        return nullptr;
    }
    if (name.empty()) {
        for (int n = 1; n <= 9999; ++n) {
            std::wstring candidate = std::wstring(generatedPrefix) + std::to_wstring(n);
            if (!nameTaken(product, candidate)) {
                name = std::move(candidate);
                break;
            }
        }
        // The prefix is a language's text: the code page may lack its characters.
        if (!groupNameRefusal(name).empty()) {
            KVLOG_AS("KVMultiModel::createGroup", L"generated group name refused: %s", name);
            return nullptr;
        }
    }
    Group g;
    g.product = product;
    g.name = std::move(name);
    auto& list = m_lists[index(product)];
    list.push_back(std::move(g));
    m_changed = true;
    persist();
    return &list.back();
}

bool GroupStore::removeFirst(KV_PRODUCT_TYPE product, std::wstring_view groupName, std::int32_t id) {
    for (Group& g : m_lists[index(product)]) {
        if (!groupName.empty() && g.name != groupName) continue;
        auto it = std::find(g.members.begin(), g.members.end(), id);
        if (it != g.members.end()) {
            g.members.erase(it);
            return true;
        }
    }
    return false;
}

void GroupStore::removeFromGroup(KV_PRODUCT_TYPE product, std::wstring_view groupName, std::int32_t id) {
    if (!removeFirst(product, groupName, id)) return;
    m_changed = true;
    persist();
}

void GroupStore::moveToGroup(KV_PRODUCT_TYPE product, const std::vector<std::int32_t>& ids,
                             std::wstring_view groupName) {
    for (std::int32_t id : ids) removeFirst(product, L"", id);
    if (Group* target = find(product, groupName))
        target->members.insert(target->members.end(), ids.begin(), ids.end());
    else
        KVLOG_AS("KVMultiModel::moveToGroup", L"no group %s", groupName);
    m_changed = true;
    persist();
}

void GroupStore::removeFromGroups(KV_PRODUCT_TYPE product, const std::vector<std::int32_t>& ids) {
    for (Group& g : m_lists[index(product)]) {
        std::erase_if(g.members, [&](std::int32_t m) { return std::find(ids.begin(), ids.end(), m) != ids.end(); });
    }
    m_changed = true;
    persist();
}

void GroupStore::removeGroup(KV_PRODUCT_TYPE product, std::wstring_view name) {
    if (std::erase_if(m_lists[index(product)], [&](const Group& g) { return g.name == name; }) == 0) return;
    m_changed = true;
    persist();
}

void GroupStore::setGroupExpand(KV_PRODUCT_TYPE product, std::wstring_view name, bool expand) {
    Group* group = find(product, name);
    if (!group || group->expand == expand) return;
    group->expand = expand;
    m_changed = true;
    persist();
}

std::optional<std::wstring> GroupStore::renameGroup(KV_PRODUCT_TYPE product, std::wstring_view oldName,
                                                    std::wstring_view newName) {
    if (!groupNameRefusal(newName).empty()) {
        KVLOG_AS("KVMultiModel::renameGroup", L"group name refused: %s", newName);
        return std::nullopt;
    }
    Group* group = find(product, oldName);
    if (!group) {
        persist();
        return std::wstring(newName);
    }
    std::wstring stored(newName);
    for (int n = 1; n <= 9999; ++n) {
        std::wstring candidate(newName);
        if (n >= 2) candidate += L"(" + std::to_wstring(n) + L")";
        if (!nameTaken(product, candidate, group)) {
            stored = std::move(candidate);
            break;
        }
    }
    group->name = stored;
    m_changed = true;
    persist();
    return stored;
}

void GroupStore::setGroupRect(KV_PRODUCT_TYPE product, std::wstring_view name, int left, int top, int width,
                              int height) {
    if (Group* g = find(product, name)) {
        m_changed = true;
        g->left = left;
        g->top = top;
        g->width = width;
        g->height = height;
    }
}

} // namespace model
