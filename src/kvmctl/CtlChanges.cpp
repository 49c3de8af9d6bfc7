// The commands that create, clone, remove, rename and configure instances. Each goes through the model's
// own operation, the one the manager's window calls, and waits for its report on the console's loop.
//
// One create or clone runs at a time in a process, as in the manager; several run one after another.
// Another program's create or clone runs beside ours: each reserves its index by making the folder, so two
// never get the same one.

#include <algorithm>

#include "core/dispatch/Dispatcher.h"
#include "core/model/BatchSettings.h"
#include "core/model/PerformanceMode.h"
#include "core/model/SettingLimits.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlCommands.h"
#include "kvmctl/CtlValues.h"

namespace ctl::commands {
namespace {

// Receivers of the model's events under a key of the command's own, dropped when the command ends.
struct Listening {
    const common::OwnerKey owner = common::newOwnerKey();
    Listening() = default;
    ~Listening() { common::dispatch::retire(owner); }
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;
};

struct CreateOptions {
    KV_PRODUCT_TYPE line = KV_PRODUCT_14;
    int count = 1;
    common::CloneSetting setting;
};

std::optional<Reply> readCount(const Arguments& args, int& count) {
    if (const std::string* text = args.option("--count")) {
        const auto n = parseWholeNumber(*text);
        if (!n || *n < 1 || *n > 9999) return Reply::error(Exit::Usage, "--count takes 1 to 9999");
        count = static_cast<int>(*n);
    }
    return std::nullopt;
}

// A number option that must be one of `allowed`.
template <class Allowed>
std::optional<Reply> readChoice(const Arguments& args, const char* name, const Allowed& allowed, int& out) {
    const std::string* text = args.option(name);
    if (!text) return std::nullopt;
    const auto n = parseWholeNumber(*text);
    if (!n || std::find(allowed.begin(), allowed.end(), *n) == allowed.end()) {
        std::string list;
        for (int v : allowed) list += (list.empty() ? "" : ", ") + std::to_string(v);
        return Reply::error(Exit::Usage, std::string(name) + " takes one of " + list);
    }
    out = static_cast<int>(*n);
    return std::nullopt;
}

std::optional<Reply> readCreateOptions(Session& s, const Arguments& args, CreateOptions& o) {
    const std::string* lineText = args.option("--line");
    if (!lineText) return Reply::error(Exit::Usage, "create needs --line");
    const auto line = detail::lineFromText(*lineText);
    if (!line) return Reply::error(Exit::Usage, "unknown line \"" + *lineText + "\"");
    o.line = *line;
    if (auto e = readCount(args, o.count)) return e;
    common::CloneSetting& st = o.setting;
    if (const std::string* text = args.option("--resolution")) {
        const auto r = values::parseResolution(*text);
        if (!r) return Reply::error(Exit::Usage, values::resolutionRule());
        st.hasResolution = true;
        st.width = r->width;
        st.height = r->height;
        st.dpi = 240;
    }
    if (const std::string* text = args.option("--dpi")) {
        const auto dpi = parseWholeNumber(*text);
        if (!st.hasResolution) return Reply::error(Exit::Usage, "--dpi goes with --resolution");
        if (!dpi || *dpi < model::kMinDpi || *dpi > model::kMaxDpi)
            return Reply::error(Exit::Usage, "--dpi takes " + std::to_string(model::kMinDpi) + " to " +
                                                 std::to_string(model::kMaxDpi));
        st.dpi = static_cast<int>(*dpi);
    }
    if (auto e = readChoice(args, "--cpu", model::kNewCpuCounts, st.cpuCount)) return e;
    if (auto e = readChoice(args, "--memory", model::kNewMemorySizes, st.memorySize)) return e;
    std::int32_t mode = model::kBalanced;
    if (const std::string* text = args.option("--mode")) {
        if (*text == "multi")
            mode = model::kMulti;
        else if (*text == "multipro")
            mode = model::kMultiPro;
        else if (*text != "balanced")
            return Reply::error(Exit::Usage, "--mode takes balanced, multi or multipro");
        if (mode != model::kBalanced && !model::allowsMultiModes(o.line))
            return Reply::error(Exit::Usage, "--mode " + *text + " needs " + detail::lineName(KV_PRODUCT_14));
    }
    const int fps = s.players.own().settings().get(common::settings::framesPerSecond);
    model::applyPerformanceMode(st, o.line, mode, fps);
    if (!s.model.isInstalled(o.line)) return Reply::error(Exit::NotFound, *lineText + " is not installed");
    return std::nullopt;
}

// Waits for the running create or clone of `id` to report 100; the new instance then lists as finished
// unless it kept its unfinished-copy marker.
bool waitForNewInstance(Session& s, const bool& finished, std::int32_t id) {
    if (!detail::pumpUntil(
            s, [&finished] { return finished; }, s.operationLimit))
        return false;
    const model::InstanceRecord* r = detail::findInstance(s, id);
    return r && r->unfinishedCopy != -1;
}

// One create or clone after another; `start` starts one and returns the new id, or -1 when refused.
Reply makeInstances(Session& s, int count, const char* what, const std::function<std::int32_t()>& start,
                    bool& finished) {
    Reply reply;
    detail::ItemResults results;
    for (int i = 0; i < count; ++i) {
        finished = false;
        const std::int32_t id = start();
        if (id == -1) {
            results.fail(reply, -1, Exit::Failed, std::string("the ") + what + " could not start");
            break; // no folder could be made: the next one would not do better
        }
        if (waitForNewInstance(s, finished, id))
            results.ok(reply, id);
        else
            results.fail(reply, id, Exit::Failed, std::string("the ") + what + " failed");
    }
    if (results.done > 0 && s.listChanged) s.listChanged();
    results.finish(reply);
    return reply;
}

} // namespace

Reply create(Session& s, const Arguments& args) {
    CreateOptions o;
    if (auto e = readCreateOptions(s, args, o)) return std::move(*e);
    Listening listening;
    bool finished = false;
    std::int32_t added = -1;
    auto& events = s.model.events();
    events.playerAdded.subscribe(listening.owner, [&added](KV_PRODUCT_TYPE, std::int32_t id) { added = id; });
    events.createProgress.subscribe(listening.owner, [&s](std::int32_t id, int percent) {
        if (s.progress) s.progress("create", id, percent);
    });
    events.createFinished.subscribe(listening.owner, [&finished](KV_PRODUCT_TYPE, std::int32_t) { finished = true; });
    return makeInstances(
        s, o.count, "create",
        [&] {
            added = -1;
            s.model.addPlayer(o.line, o.setting);
            return s.model.isAdding() ? added : -1;
        },
        finished);
}

Reply clone(Session& s, const Arguments& args) {
    int count = 1;
    if (auto e = readCount(args, count)) return std::move(*e);
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, args.operands, ids)) return std::move(*e);
    const std::int32_t source = ids.front();
    // A clone only reads its source; it may not start while the source is being restored, created or
    // removed, here or in another program.
    if (detail::isBusy(s, source, args))
        return Reply::error(Exit::Busy, "instance " + args.operands.front() + " is busy");
    Listening listening;
    bool finished = false;
    auto& events = s.model.events();
    events.copyProgress.subscribe(listening.owner, [&s](std::int32_t id, int percent) {
        if (s.progress) s.progress("clone", id, percent);
    });
    events.copyFinished.subscribe(listening.owner, [&finished](std::int32_t) { finished = true; });
    return makeInstances(
        s, count, "clone",
        [&] {
            s.model.copyPlayer(source);
            return s.model.isAdding() ? s.model.copyTarget() : -1;
        },
        finished);
}

Reply remove(Session& s, const Arguments& args) {
    if (!args.has("--yes")) return Reply::error(Exit::Usage, "remove deletes instances for good: add --yes");
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, args.operands, ids)) return std::move(*e);
    Reply reply;
    detail::ItemResults results;
    for (std::int32_t id : ids) {
        int index = 0;
        common::Players& players = s.model.playersOf(id, index);
        if (players.isPlayerRunning(index)) {
            results.fail(reply, id, Exit::Busy, "the instance runs");
            continue;
        }
        if (detail::isBusy(s, id, args)) {
            results.fail(reply, id, Exit::Busy, "the instance is busy");
            continue;
        }
        s.model.remove(id, true);
        if (!s.model.isRemoving(id)) { // refused: another program took it meanwhile
            results.fail(reply, id, Exit::Busy, "the instance is busy");
            continue;
        }
        if (!detail::pumpUntil(
                s, [&] { return !s.model.isRemoving(id); }, s.operationLimit) ||
            players.hasIndex(index)) {
            results.fail(reply, id, Exit::Failed, "the instance could not be removed");
            continue;
        }
        results.ok(reply, id);
    }
    if (results.done > 0 && s.listChanged) s.listChanged();
    results.finish(reply);
    return reply;
}

Reply rename(Session& s, const Arguments& args) {
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, {args.operands.front()}, ids)) return std::move(*e);
    const std::wstring name = common::withoutLineBreaks(common::text::fromUtf8(args.operands[1]));
    if (name.empty()) return Reply::error(Exit::Usage, "the name is empty");
    int index = 0;
    common::Players& players = s.model.playersOf(ids.front(), index);
    std::unique_ptr<platform::SharedLock> lock;
    if (detail::isBusy(s, ids.front(), args) || !(lock = players.busy().tryTakeShared(index)))
        return Reply::error(Exit::Busy, "instance " + args.operands.front() + " is busy");
    s.model.rename(ids.front(), name);
    if (players.displayName(index) != name) return Reply::error(Exit::Failed, "the name could not be stored");
    if (s.listChanged) s.listChanged();
    Reply reply;
    reply.add("id", rapidjson::Value(ids.front()));
    reply.add("name", jsonString(std::wstring_view(name), reply.alloc()));
    return reply;
}

// Instance ids first, then KEY=VALUE pairs; every pair is checked before any file is written.
Reply set(Session& s, const Arguments& args) {
    std::vector<std::string> idTexts;
    std::vector<std::string> pairs;
    for (const std::string& word : args.operands)
        (word.find('=') == std::string::npos ? idTexts : pairs).push_back(word);
    if (idTexts.empty() || pairs.empty()) return Reply::error(Exit::Usage, "set takes ID... KEY=VALUE...");
    model::BatchValues values;
    std::vector<const model::BatchKey*> keys;
    for (const std::string& pair : pairs) {
        const std::size_t equals = pair.find('=');
        std::string key = pair.substr(0, equals);
        const model::BatchKey* entry = model::findBatchKey(key);
        if (!entry) return Reply::error(Exit::Usage, "\"" + key + "\" is no setting the batch apply writes");
        const std::string problem = values::assign(*entry, pair.substr(equals + 1), values);
        if (!problem.empty()) return Reply::error(Exit::Usage, key.append(": ").append(problem));
        keys.push_back(entry);
    }
    std::vector<std::int32_t> ids;
    if (auto e = detail::resolveInstances(s, idTexts, ids)) return std::move(*e);
    Reply reply;
    detail::ItemResults results;
    for (std::int32_t id : ids) {
        int index = 0;
        common::Players& players = s.model.playersOf(id, index);
        std::unique_ptr<platform::SharedLock> lock;
        if (detail::isBusy(s, id, args) || !(lock = players.busy().tryTakeShared(index))) {
            results.fail(reply, id, Exit::Busy, "the instance is busy");
            continue;
        }
        if (!model::writeBatchKeys(s.players, id, keys, values)) {
            results.fail(reply, id, Exit::Failed, "the configuration could not be written");
            continue;
        }
        results.ok(reply, id);
    }
    if (results.done > 0 && s.listChanged) s.listChanged();
    results.finish(reply);
    return reply;
}

} // namespace ctl::commands
