// The commands on processes, archives and windows: start (in order, with the batch start's interval),
// stop, backup, restore and arrange. Starting and stopping ask the instance as the manager does; waiting
// polls the instance's mutex.

#include <filesystem>
#include <system_error>

#include "core/arrange/Arrangement.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlCommands.h"

namespace ctl::commands {
namespace {

constexpr long long kDefaultWaitSeconds = 60;

std::optional<Reply> readSeconds(const Arguments& args, const char* name, long long fallback, long long& seconds) {
    seconds = fallback;
    if (const std::string* text = args.option(name)) {
        const auto n = parseWholeNumber(*text);
        if (!n || *n < 0 || *n > 86400)
            return Reply::error(Exit::Usage, std::string(name) + " takes 0 to 86400 seconds");
        seconds = *n;
    }
    return std::nullopt;
}

bool isRunning(Session& s, std::int32_t id) {
    int index = 0;
    return s.model.playersOf(id, index).isPlayerRunning(index);
}

// Waits until every id that was asked is running (or stopped); the ones that are not become failures.
void waitForState(Session& s, const std::vector<std::int32_t>& asked, bool running, long long seconds,
                  std::vector<std::int32_t>& late) {
    const auto reached = [&] {
        for (std::int32_t id : asked)
            if (isRunning(s, id) != running) return false;
        return true;
    };
    (void)detail::pumpUntil(s, reached, std::chrono::seconds(seconds));
    for (std::int32_t id : asked)
        if (isRunning(s, id) != running) late.push_back(id);
}

std::filesystem::path absoluteFile(const std::string& text) {
    std::error_code ec;
    const std::filesystem::path path(common::text::fromUtf8(text));
    const auto absolute = std::filesystem::absolute(path, ec);
    return ec ? path : absolute;
}

Reply runOrStop(Session& s, const Arguments& args, bool start) {
    long long timeout = 0;
    long long interval = 0;
    if (auto e = readSeconds(args, "--timeout", kDefaultWaitSeconds, timeout)) return std::move(*e);
    const int stored = s.players.own().settings().get(common::settings::batchStartInterval);
    if (auto e = readSeconds(args, "--interval", stored > 0 ? stored : 0, interval)) return std::move(*e);
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, args.operands, ids)) return std::move(*e);
    Reply reply;
    detail::ItemResults results;
    std::vector<std::int32_t> asked;
    std::vector<std::int32_t> already;
    for (std::int32_t id : ids) {
        if (isRunning(s, id) == start) {
            already.push_back(id);
            continue;
        }
        if (start && detail::isBusy(s, id)) {
            results.fail(reply, id, Exit::Busy, "the instance is busy");
            continue;
        }
        if (start && !asked.empty() && interval > 0) // the batch start's pause between two starts
            (void)detail::pumpUntil(
                s, [] { return false; }, std::chrono::seconds(interval));
        if (start)
            s.model.launch(id);
        else
            s.model.stop(id);
        asked.push_back(id);
    }
    std::vector<std::int32_t> late;
    if (args.has("--wait")) waitForState(s, asked, start, timeout, late);
    for (std::int32_t id : ids) {
        if (std::find(late.begin(), late.end(), id) != late.end()) {
            results.fail(reply, id, Exit::Failed,
                         start ? "the instance did not start in time" : "the instance did not stop in time");
        } else if (std::find(asked.begin(), asked.end(), id) != asked.end() ||
                   std::find(already.begin(), already.end(), id) != already.end()) {
            rapidjson::Value extra(rapidjson::kObjectType);
            extra.AddMember("already", std::find(already.begin(), already.end(), id) != already.end(), reply.alloc());
            results.ok(reply, id, std::move(extra));
        }
    }
    results.finish(reply);
    return reply;
}

} // namespace

Reply start(Session& s, const Arguments& args) {
    return runOrStop(s, args, true);
}

Reply stop(Session& s, const Arguments& args) {
    return runOrStop(s, args, false);
}

Reply backup(Session& s, const Arguments& args) {
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, {args.operands.front()}, ids)) return std::move(*e);
    const std::filesystem::path archive = absoluteFile(args.operands[1]);
    if (archive.extension() != L".kvbk") return Reply::error(Exit::Usage, "a backup file ends in .kvbk");
    int index = 0;
    common::Players& players = s.model.playersOf(ids.front(), index);
    if (players.isPlayerRunning(index)) return Reply::error(Exit::Busy, "the instance runs");
    if (detail::isBusy(s, ids.front(), args)) return Reply::error(Exit::Busy, "the instance is busy");
    if (s.progress) s.progress("backup", ids.front(), 0);
    if (!players.backup(index, args.has("--compress"), archive))
        return Reply::error(Exit::Failed, "the backup failed; see log/kvmctl.log");
    if (s.progress) s.progress("backup", ids.front(), 100);
    Reply reply;
    reply.add("id", rapidjson::Value(ids.front()));
    reply.add("file", jsonString(std::wstring_view(archive.wstring()), reply.alloc()));
    return reply;
}

Reply restore(Session& s, const Arguments& args) {
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, {args.operands.front()}, ids)) return std::move(*e);
    const std::filesystem::path archive = absoluteFile(args.operands[1]);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(archive, ec))
        return Reply::error(Exit::NotFound, "no file " + args.operands[1]);
    if (archive.extension() != L".kvbk" && archive.extension() != L".vdi")
        return Reply::error(Exit::Usage, "a backup file ends in .kvbk (or a disk image in .vdi)");
    int index = 0;
    common::Players& players = s.model.playersOf(ids.front(), index);
    if (players.isPlayerRunning(index)) return Reply::error(Exit::Busy, "the instance runs");
    if (detail::isBusy(s, ids.front(), args)) return Reply::error(Exit::Busy, "the instance is busy");
    if (s.progress) s.progress("restore", ids.front(), 0);
    if (!players.restore(index, archive))
        return Reply::error(Exit::Failed, "the restore failed; the instance is as it was (see log/kvmctl.log)");
    if (s.progress) s.progress("restore", ids.front(), 100);
    s.model.reloadPlayerList();
    if (s.listChanged) s.listChanged();
    Reply reply;
    reply.add("id", rapidjson::Value(ids.front()));
    reply.add("file", jsonString(std::wstring_view(archive.wstring()), reply.alloc()));
    return reply;
}

// Without ids: every running instance, in list order. The manager-wide arrangement settings apply, with the
// layout and the column count of the command line over them.
Reply arrange(Session& s, const Arguments& args) {
    arrange::ArrangeSettings settings = arrange::readArrangeSettings(s.players.own().settings());
    if (const std::string* layout = args.option("--layout")) {
        if (*layout == "cascade")
            settings.alignType = 1;
        else if (*layout == "grid")
            settings.alignType = 0;
        else
            return Reply::error(Exit::Usage, "--layout takes grid or cascade");
    }
    if (const std::string* text = args.option("--columns")) {
        const auto n = parseWholeNumber(*text);
        if (!n || *n < 1 || *n > 64) return Reply::error(Exit::Usage, "--columns takes 1 to 64");
        settings.rowCount = static_cast<int>(*n);
        settings.autoSize = false; // a column count asks for the fixed grid
    }
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, args.operands, ids)) return std::move(*e);
    if (ids.empty())
        for (int i = 0; i < product::kProductCount; ++i)
            for (const model::InstanceRecord& r : s.model.playerList(static_cast<KV_PRODUCT_TYPE>(i)))
                if (r.topWindow != 0) ids.push_back(r.id);
    std::vector<std::int32_t> placed;
    for (std::int32_t id : ids)
        if (const model::InstanceRecord* r = s.model.findRecord(id); r && r->topWindow != 0) placed.push_back(id);
    if (placed.empty()) return Reply::error(Exit::NotFound, "no instance window to arrange");
    s.model.arrange(placed, settings);
    (void)detail::pumpUntil(
        s, [&s] { return s.model.arrangeIdle(); }, std::chrono::seconds(kDefaultWaitSeconds));
    Reply reply;
    rapidjson::Value list(rapidjson::kArrayType);
    for (std::int32_t id : placed) list.PushBack(id, reply.alloc());
    reply.add("arranged", std::move(list));
    reply.add("layout", jsonString(settings.layout() == arrange::Layout::Cascade ? "cascade" : "grid", reply.alloc()));
    return reply;
}

} // namespace ctl::commands
