// "group create|rename|delete|add|remove": the groups store's own operations, each of which saves the
// groups file; a running manager reloads it when told.

#include "core/lang/LanguageStrings.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlCommands.h"

namespace ctl::commands {
namespace {

// --line, else the line of the first id, else the manager's default line.
std::optional<Reply> groupLine(Session& s, const Arguments& args, const std::vector<std::int32_t>& ids,
                               KV_PRODUCT_TYPE& line) {
    if (const std::string* text = args.option("--line")) {
        const auto found = detail::lineFromText(*text);
        if (!found) return Reply::error(Exit::Usage, "unknown line \"" + *text + "\"");
        line = *found;
    } else if (!ids.empty()) {
        line = product::productOfId(ids.front());
    } else {
        const int preselected = s.model.defaultProductLine();
        if (preselected < 0) return Reply::error(Exit::NotFound, "no product line is installed");
        line = static_cast<KV_PRODUCT_TYPE>(preselected);
    }
    for (std::int32_t id : ids)
        if (product::productOfId(id) != line)
            return Reply::error(Exit::Usage, "a group holds instances of its own line only");
    return std::nullopt;
}

std::string refusalText(std::wstring_view key) {
    return common::text::toUtf8(common::lang::lookUpWithFallback(std::wstring(key)));
}

rapidjson::Value groupObject(const model::Group& g, Reply& reply) {
    auto& a = reply.alloc();
    rapidjson::Value o(rapidjson::kObjectType);
    o.AddMember("line", jsonString(detail::lineName(g.product), a), a);
    o.AddMember("name", jsonString(std::wstring_view(g.name), a), a);
    rapidjson::Value members(rapidjson::kArrayType);
    for (std::int32_t id : g.members) members.PushBack(id, a);
    o.AddMember("members", members, a);
    return o;
}

} // namespace

Reply group(Session& s, const Arguments& args) {
    const std::string& verb = args.operands[0];
    const std::wstring name = common::text::fromUtf8(args.operands[1]);
    std::vector<std::int32_t> ids;
    if (verb == "add" || verb == "remove") {
        const std::vector<std::string> idTexts(args.operands.begin() + 2, args.operands.end());
        if (auto e = detail::resolveInstances(s, idTexts, ids)) return std::move(*e);
    }
    KV_PRODUCT_TYPE line = KV_PRODUCT_14;
    if (auto e = groupLine(s, args, ids, line)) return std::move(*e);
    model::GroupStore& store = s.model.groups();
    store.load(); // what the manager saved last, not what this process read at its start
    model::Group* g = store.find(line, name);
    if (verb == "create") {
        if (g) return Reply::error(Exit::Failed, "group \"" + args.operands[1] + "\" exists");
        if (const auto refusal = model::groupNameRefusal(name); !refusal.empty())
            return Reply::error(Exit::Usage, refusalText(refusal));
        g = store.createGroup(line, name, L"");
        if (!g) return Reply::error(Exit::Failed, "the group could not be created");
    } else if (!g) {
        return Reply::error(Exit::NotFound, "no group \"" + args.operands[1] + "\"");
    } else if (verb == "rename") {
        const std::wstring newName = common::text::fromUtf8(args.operands[2]);
        if (const auto refusal = model::groupNameRefusal(newName); !refusal.empty())
            return Reply::error(Exit::Usage, refusalText(refusal));
        const auto stored = store.renameGroup(line, name, newName);
        if (!stored) return Reply::error(Exit::Failed, "the group could not be renamed");
        g = store.find(line, *stored);
    } else if (verb == "delete") {
        store.removeGroup(line, name);
        g = nullptr;
    } else if (verb == "add") {
        store.moveToGroup(line, ids, name);
        g = store.find(line, name);
    } else { // remove
        for (std::int32_t id : ids) store.removeFromGroup(line, name, id);
        g = store.find(line, name);
    }
    if (s.listChanged) s.listChanged();
    Reply reply;
    if (g)
        reply.add("group", groupObject(*g, reply));
    else
        reply.add("deleted", jsonString(std::wstring_view(name), reply.alloc()));
    return reply;
}

} // namespace ctl::commands
