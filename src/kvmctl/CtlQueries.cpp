// The commands that only read: the installed lines, the instances with their derived statuses, an
// instance's configuration keys, and the groups.

#include <rapidjson/document.h>

#include "core/files/Files.h"
#include "core/model/VersionChecks.h"
#include "core/storage/PlayerConfig.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlCommands.h"

namespace ctl::commands {
namespace {

using detail::lineName;

// The group of every grouped instance of the line.
std::map<std::int32_t, std::wstring> groupOf(Session& s, KV_PRODUCT_TYPE line) {
    std::map<std::int32_t, std::wstring> result;
    for (const model::Group& g : s.model.groups().groups(line))
        for (std::int32_t id : g.members) result.emplace(id, g.name);
    return result;
}

rapidjson::Value instanceObject(const model::InstanceRecord& r, std::uint64_t diskSize, KV_PRODUCT_TYPE line,
                                const std::wstring* group, Reply& reply) {
    auto& a = reply.alloc();
    const int index = product::indexOfId(r.id);
    rapidjson::Value o(rapidjson::kObjectType);
    o.AddMember("id", r.id, a);
    o.AddMember("line", jsonString(lineName(line), a), a);
    o.AddMember("index", index, a);
    o.AddMember("name", jsonString(std::wstring_view(r.name), a), a);
    o.AddMember("status", jsonString(detail::statusWord(r), a), a);
    o.AddMember("width", r.width, a);
    o.AddMember("height", r.height, a);
    o.AddMember("dpi", r.dpi, a);
    o.AddMember("cpu", r.cpuCount, a);
    o.AddMember("memory", r.memorySize, a);
    o.AddMember("disk", diskSize, a);
    if (group)
        o.AddMember("group", jsonString(std::wstring_view(*group), a), a);
    else
        o.AddMember("group", rapidjson::Value(), a);
    return o;
}

} // namespace

Reply lines(Session& s, const Arguments&) {
    Reply reply;
    auto& a = reply.alloc();
    rapidjson::Value items(rapidjson::kArrayType);
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        const std::wstring& folder = s.model.installFolders()[static_cast<std::size_t>(i)];
        rapidjson::Value o(rapidjson::kObjectType);
        o.AddMember("line", jsonString(lineName(line), a), a);
        o.AddMember("number", i, a);
        o.AddMember("installed", !folder.empty(), a);
        o.AddMember("folder", jsonString(std::wstring_view(folder), a), a);
        const std::wstring version = folder.empty() ? L"" : s.sources.fileVersionText(model::playerExecutable(folder));
        o.AddMember("version", jsonString(std::wstring_view(version), a), a);
        o.AddMember("instances", static_cast<unsigned>(s.players.line(line).indices().size()), a);
        items.PushBack(o, a);
    }
    reply.add("lines", std::move(items));
    return reply;
}

Reply list(Session& s, const Arguments& args) {
    std::optional<KV_PRODUCT_TYPE> only;
    if (const std::string* text = args.option("--line")) {
        only = detail::lineFromText(*text);
        if (!only) return Reply::error(Exit::Usage, "unknown line \"" + *text + "\"");
        if (!s.model.isInstalled(*only)) return Reply::error(Exit::NotFound, *text + " is not installed");
    }
    const std::string* groupText = args.option("--group");
    const std::wstring groupName = groupText ? common::text::fromUtf8(*groupText) : std::wstring();
    // Listing every instance, the reload's one walk per folder answers both its copy marker and its disk
    // size; a filtered list walks only the folders it shows.
    const bool everyInstance = !only && !groupText;
    s.model.reloadPlayerList(everyInstance);
    Reply reply;
    rapidjson::Value items(rapidjson::kArrayType);
    bool groupSeen = false;
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        if (only && *only != line) continue;
        const auto groups = groupOf(s, line);
        if (groupText && s.model.groups().find(line, groupName)) groupSeen = true;
        for (const model::InstanceRecord& r : s.model.playerList(line)) {
            const auto g = groups.find(r.id);
            const std::wstring* group = g == groups.end() ? nullptr : &g->second;
            if (groupText && (!group || *group != groupName)) continue;
            const std::uint64_t disk =
                everyInstance
                    ? r.diskSize
                    : common::files::folderBytes(s.players.line(line).instanceFolder(product::indexOfId(r.id)));
            items.PushBack(instanceObject(r, disk, line, group, reply), reply.alloc());
        }
    }
    if (groupText && !groupSeen) return Reply::error(Exit::NotFound, "no group \"" + *groupText + "\"");
    reply.add("instances", std::move(items));
    return reply;
}

Reply get(Session& s, const Arguments& args) {
    std::vector<std::int32_t> ids;
    const std::vector<std::string> first{args.operands.front()};
    if (auto error = detail::resolveInstances(s, first, ids)) return std::move(*error);
    int index = 0;
    const common::Players& players = s.model.playersOf(ids.front(), index);
    common::PlayerConfig config;
    config.load(players.baseFolder(), index);
    rapidjson::Document file;
    file.Parse(config.document().serialize().c_str());
    Reply reply;
    auto& a = reply.alloc();
    rapidjson::Value settings(rapidjson::kObjectType);
    if (args.operands.size() == 1) {
        if (file.IsObject())
            for (auto& m : file.GetObject())
                settings.AddMember(rapidjson::Value(m.name, a), rapidjson::Value(m.value, a), a);
    } else {
        for (std::size_t i = 1; i < args.operands.size(); ++i) {
            const std::string& key = args.operands[i];
            const auto it = file.IsObject() ? file.FindMember(key.c_str()) : file.MemberEnd();
            if (!file.IsObject() || it == file.MemberEnd())
                return Reply::error(Exit::NotFound, "instance " + args.operands.front() + " has no key " + key);
            settings.AddMember(jsonString(key, a), rapidjson::Value(it->value, a), a);
        }
    }
    reply.add("id", rapidjson::Value(ids.front()));
    reply.add("settings", std::move(settings));
    return reply;
}

Reply groups(Session& s, const Arguments& args) {
    std::optional<KV_PRODUCT_TYPE> only;
    if (const std::string* text = args.option("--line")) {
        only = detail::lineFromText(*text);
        if (!only) return Reply::error(Exit::Usage, "unknown line \"" + *text + "\"");
    }
    Reply reply;
    auto& a = reply.alloc();
    rapidjson::Value items(rapidjson::kArrayType);
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        if (only && *only != line) continue;
        for (const model::Group& g : s.model.groups().groups(line)) {
            rapidjson::Value o(rapidjson::kObjectType);
            o.AddMember("line", jsonString(lineName(line), a), a);
            o.AddMember("name", jsonString(std::wstring_view(g.name), a), a);
            rapidjson::Value members(rapidjson::kArrayType);
            for (std::int32_t id : g.members) members.PushBack(id, a);
            o.AddMember("members", members, a);
            items.PushBack(o, a);
        }
    }
    reply.add("groups", std::move(items));
    return reply;
}

} // namespace ctl::commands
