#pragma once
// What the console's commands work with: the same model, storage objects and install sources the manager
// uses, the portable event loop standing for the manager's user-interface thread, and what only the
// program around them knows (where progress goes, how a running manager hears of a change).
//
// Commands run on the thread that owns the loop; they pump it while they wait for a create, a clone or a
// removal to report back, exactly as the manager's window waits for the same reports.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/dispatch/EventLoop.h"
#include "core/model/KVMultiModel.h"
#include "core/platform/InstallSources.h"
#include "core/storage/PlayerSet.h"
#include "kvmctl/CtlArguments.h"
#include "kvmctl/CtlReply.h"

namespace ctl {

struct Session {
    KVMultiModel& model;
    common::PlayerSet& players;
    platform::InstallSources& sources;
    common::EventLoop& loop;
    // (what, instance id, percent) while a create, a clone, a backup or a restore runs.
    std::function<void(std::string_view what, std::int32_t id, int percent)> progress;
    // After anything that changed instances or groups: a manager that runs reloads its list.
    std::function<void()> listChanged;
    // How long a create, a clone or a removal may take before the console gives up waiting.
    std::chrono::milliseconds operationLimit{std::chrono::hours(12)};
    // How often waits for a state look again.
    std::chrono::milliseconds pollStep{std::chrono::milliseconds(100)};
};

// Runs the command; the reply carries the exit code.
Reply runCommand(Session& session, const Arguments& args);

// The pieces the commands share (CtlSession.cpp).
namespace detail {

// A line by its configuration key ("player14") or number; none for anything else.
std::optional<KV_PRODUCT_TYPE> lineFromText(std::string_view text);
std::string lineName(KV_PRODUCT_TYPE line);
// An instance id as "list" prints it, or LINE:INDEX; none when it is neither.
std::optional<std::int32_t> idFromText(std::string_view text);

// The id's record after a reload; null when no such instance exists.
const model::InstanceRecord* findInstance(Session& s, std::int32_t id);
// Resolves every operand to an existing instance; the first that does not resolve is the reply.
std::optional<Reply> resolveInstances(Session& s, const std::vector<std::string>& operands,
                                      std::vector<std::int32_t>& ids);

// Whether the instance is busy in this process or held by another program (running is not busy).
bool isBusy(Session& s, std::int32_t id);
// The same, after waiting for the instance to become free when the command line asks with --wait
// (--timeout seconds, 60 by default).
bool isBusy(Session& s, std::int32_t id, const Arguments& args);

// Runs the loop until `done` holds or `limit` passes; returns done().
bool pumpUntil(Session& s, const std::function<bool()>& done, std::chrono::milliseconds limit);

// The status word of a record: "stopped", "running", "copying", "creating", "backing_up", "restoring",
// "copy_source", "copy_failed".
std::string statusWord(const model::InstanceRecord& record);

// One id's result inside a reply about several: {"id": .., "ok": true} or {"id": .., "error": {...}}.
struct ItemResults {
    rapidjson::Value items{rapidjson::kArrayType};
    int done = 0;
    int failed = 0;
    Exit worst = Exit::Ok;
    void ok(Reply& reply, std::int32_t id, rapidjson::Value extra = rapidjson::Value(rapidjson::kObjectType));
    void fail(Reply& reply, std::int32_t id, Exit exit, std::string_view message);
    // Stores the items as "results" and sets the exit code: ok, partly done, or the single failure's code.
    void finish(Reply& reply);
};

} // namespace detail
} // namespace ctl
