#include "kvmctl/CtlSession.h"

#include <array>
#include <utility>

#include "core/log/Log.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlCommands.h"

namespace ctl {
namespace detail {

std::optional<KV_PRODUCT_TYPE> lineFromText(std::string_view text) {
    for (int i = 0; i < product::kProductCount; ++i) {
        const auto line = static_cast<KV_PRODUCT_TYPE>(i);
        if (product::productLine(line).configKey == text) return line;
    }
    const auto number = parseWholeNumber(text);
    if (number && product::isProductType(static_cast<int>(*number))) return static_cast<KV_PRODUCT_TYPE>(*number);
    return std::nullopt;
}

std::string lineName(KV_PRODUCT_TYPE line) {
    return std::string(product::productLine(line).configKey);
}

std::optional<std::int32_t> idFromText(std::string_view text) {
    constexpr long long kMaxIndex = (1 << 24) - 1;
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        const auto line = lineFromText(text.substr(0, colon));
        const auto index = parseWholeNumber(text.substr(colon + 1));
        if (!line || !index || *index < 0 || *index > kMaxIndex) return std::nullopt;
        return product::encodeInstanceId(*line, static_cast<int>(*index));
    }
    const auto id = parseWholeNumber(text);
    if (!id || *id < 0 || *id > INT32_MAX) return std::nullopt;
    const auto value = static_cast<std::int32_t>(*id);
    // Only the codes of the five lines are ids; 2 << 24 would decode to a line that does not exist.
    const int code = value >> 24;
    for (int i = 0; i < product::kProductCount; ++i)
        if (product::productLine(static_cast<KV_PRODUCT_TYPE>(i)).idCode == code) return value;
    return std::nullopt;
}

const model::InstanceRecord* findInstance(Session& s, std::int32_t id) {
    const model::InstanceRecord* record = s.model.findRecord(id);
    if (!record) {
        s.model.reloadPlayerList();
        record = s.model.findRecord(id);
    }
    return record;
}

std::optional<Reply> resolveInstances(Session& s, const std::vector<std::string>& operands,
                                      std::vector<std::int32_t>& ids) {
    s.model.reloadPlayerList();
    for (const std::string& text : operands) {
        const auto id = idFromText(text);
        if (!id) return Reply::error(Exit::Usage, "\"" + text + "\" is no instance id");
        if (!s.model.isInstalled(product::productOfId(*id)))
            return Reply::error(Exit::NotFound, lineName(product::productOfId(*id)) + " is not installed");
        if (!s.model.findRecord(*id)) return Reply::error(Exit::NotFound, "no instance " + text);
        ids.push_back(*id);
    }
    return std::nullopt;
}

bool isBusy(Session& s, std::int32_t id) {
    int index = 0;
    common::Players& players = s.model.playersOf(id, index);
    const common::BusyRegistry& busy = players.busy();
    using Kind = common::BusyRegistry::Kind;
    return busy.isCopySource(index) || busy.isCopyTarget(index) || busy.contains(Kind::Creation, index) ||
           busy.contains(Kind::Backup, index) || busy.contains(Kind::Restore, index) || s.model.isRemoving(id) ||
           busy.heldElsewhere(index);
}

bool isBusy(Session& s, std::int32_t id, const Arguments& args) {
    if (!args.has("--wait")) return isBusy(s, id);
    long long seconds = 60;
    if (const std::string* text = args.option("--timeout"))
        if (const auto n = parseWholeNumber(*text); n && *n >= 0) seconds = *n;
    return !pumpUntil(
        s, [&] { return !isBusy(s, id); }, std::chrono::seconds(seconds));
}

bool pumpUntil(Session& s, const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end) return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - now);
        (void)s.loop.runUntil(done, std::min(left, s.pollStep));
    }
    return true;
}

std::string statusWord(const model::InstanceRecord& r) {
    switch (r.status) {
    case model::kStatusRunning:
    case model::kStatusWindowWithoutMutex:
        return "running";
    case model::kStatusBeingCopied:
        return "copying";
    case model::kStatusCreating:
        return "creating";
    case model::kStatusBackingUp:
        return "backing_up";
    case model::kStatusRestoring:
        return "restoring";
    case model::kStatusCopySource:
        return "copy_source";
    default:
        return r.unfinishedCopy == -1 ? "copy_failed" : "stopped";
    }
}

void ItemResults::ok(Reply& reply, std::int32_t id, rapidjson::Value extra) {
    rapidjson::Value item(rapidjson::kObjectType);
    item.AddMember("id", id, reply.alloc());
    item.AddMember("ok", true, reply.alloc());
    if (extra.IsObject())
        for (auto& m : extra.GetObject()) item.AddMember(m.name, m.value, reply.alloc());
    items.PushBack(item, reply.alloc());
    ++done;
}

void ItemResults::fail(Reply& reply, std::int32_t id, Exit exit, std::string_view message) {
    rapidjson::Value item(rapidjson::kObjectType);
    item.AddMember("id", id, reply.alloc());
    item.AddMember("ok", false, reply.alloc());
    item.AddMember("error", errorObject(exit, message, reply.alloc()), reply.alloc());
    items.PushBack(item, reply.alloc());
    ++failed;
    if (worst == Exit::Ok) worst = exit;
}

void ItemResults::finish(Reply& reply) {
    reply.add("results", std::move(items));
    if (failed == 0) return;
    if (done > 0) {
        reply.setExit(Exit::Partly);
        reply.add("error",
                  errorObject(Exit::Partly, std::to_string(failed) + " of " + std::to_string(done + failed) + " failed",
                              reply.alloc()));
        return;
    }
    // Nothing done: the first failure names the reason, so a single id gets the same code as alone.
    const rapidjson::Value& first = reply.doc()["results"][0]["error"];
    std::string message = first["message"].GetString();
    reply.setExit(worst);
    reply.add("error", errorObject(worst, message, reply.alloc()));
}

} // namespace detail

Reply runCommand(Session& s, const Arguments& args) {
    using Command = Reply (*)(Session&, const Arguments&);
    static constexpr std::array<std::pair<std::string_view, Command>, 15> kCommands{{
        {"lines", &commands::lines},
        {"list", &commands::list},
        {"get", &commands::get},
        {"groups", &commands::groups},
        {"create", &commands::create},
        {"clone", &commands::clone},
        {"remove", &commands::remove},
        {"rename", &commands::rename},
        {"set", &commands::set},
        {"start", &commands::start},
        {"stop", &commands::stop},
        {"backup", &commands::backup},
        {"restore", &commands::restore},
        {"arrange", &commands::arrange},
        {"group", &commands::group},
    }};
    KVLOG(L"kvmctl %S", args.command);
    for (const auto& [name, command] : kCommands)
        if (name == args.command) return command(s, args);
    return Reply::error(Exit::Usage, "unknown command \"" + args.command + "\"");
}

} // namespace ctl
