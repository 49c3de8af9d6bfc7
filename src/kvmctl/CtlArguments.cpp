#include "kvmctl/CtlArguments.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace ctl {
namespace {

constexpr int kAny = -1;

struct CommandSpec {
    std::string_view name;
    int minOperands;
    int maxOperands; // kAny: no limit
    std::vector<std::string_view> valued;
    std::vector<std::string_view> flags;
};

const std::vector<CommandSpec>& commandTable() {
    static const std::vector<CommandSpec> table{
        {"help", 0, 0, {}, {}},
        {"lines", 0, 0, {}, {}},
        {"list", 0, 0, {"--line", "--group"}, {}},
        {"start", 1, kAny, {"--timeout", "--interval"}, {"--wait"}},
        {"stop", 1, kAny, {"--timeout"}, {"--wait"}},
        {"create", 0, 0, {"--line", "--count", "--resolution", "--dpi", "--cpu", "--memory", "--mode"}, {}},
        {"clone", 1, 1, {"--count", "--timeout"}, {"--wait"}},
        {"remove", 1, kAny, {"--timeout"}, {"--yes", "--wait"}},
        {"rename", 2, 2, {"--timeout"}, {"--wait"}},
        {"backup", 2, 2, {"--timeout"}, {"--compress", "--wait"}},
        {"restore", 2, 2, {"--timeout"}, {"--wait"}},
        {"get", 1, kAny, {}, {}},
        {"set", 2, kAny, {"--timeout"}, {"--wait"}},
        {"arrange", 0, kAny, {"--layout", "--columns"}, {}},
        {"groups", 0, 0, {"--line"}, {}},
        {"group", 2, kAny, {"--line"}, {}},
    };
    return table;
}

// The verbs of "group" with their operand counts after the verb.
struct GroupVerb {
    std::string_view name;
    int minOperands;
    int maxOperands;
};
constexpr std::array<GroupVerb, 5> kGroupVerbs{{
    {"create", 1, 1},    // NAME
    {"rename", 2, 2},    // NAME NEWNAME
    {"delete", 1, 1},    // NAME
    {"add", 2, kAny},    // NAME ID...
    {"remove", 2, kAny}, // NAME ID...
}};

const CommandSpec* findCommand(std::string_view name) {
    for (const CommandSpec& spec : commandTable())
        if (spec.name == name) return &spec;
    return nullptr;
}

bool listed(const std::vector<std::string_view>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string countError(const std::string& what, int min, int max, std::size_t got) {
    std::string text = what + " takes ";
    if (max == kAny)
        text += "at least " + std::to_string(min);
    else if (min == max)
        text += std::to_string(min);
    else
        text += std::to_string(min) + " to " + std::to_string(max);
    return text + " operand" + (min == 1 && max == 1 ? "" : "s") + ", not " + std::to_string(got);
}

bool countFits(int min, int max, std::size_t got) {
    return got >= static_cast<std::size_t>(min) && (max == kAny || got <= static_cast<std::size_t>(max));
}

std::string checkGroupVerb(const Arguments& args) {
    const std::string& verb = args.operands.front();
    for (const GroupVerb& v : kGroupVerbs) {
        if (v.name != verb) continue;
        const std::size_t rest = args.operands.size() - 1;
        return countFits(v.minOperands, v.maxOperands, rest)
                   ? std::string()
                   : countError("group " + verb, v.minOperands, v.maxOperands, rest);
    }
    return "unknown group verb \"" + verb + "\" (create, rename, delete, add, remove)";
}

} // namespace

const std::string* Arguments::option(std::string_view name) const {
    const auto it = options.find(name);
    return it == options.end() ? nullptr : &it->second;
}

std::optional<long long> parseWholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

ParsedArguments parseArguments(const std::vector<std::string>& argv) {
    ParsedArguments result;
    Arguments args;
    std::vector<std::string> words;
    bool operandsOnly = false; // after "--" every word is an operand (names that start with "--")
    for (std::size_t i = 0; i < argv.size(); ++i) {
        const std::string& word = argv[i];
        if (operandsOnly || word.size() < 3 || word.compare(0, 2, "--") != 0) {
            if (word == "--" && !operandsOnly) {
                operandsOnly = true;
                continue;
            }
            words.push_back(word);
            continue;
        }
        if (word == "--json" || word == "--text") {
            args.text = word == "--text";
            continue;
        }
        // Options are checked once the command is known; "--name=value" and "--name value" both work.
        const std::size_t equals = word.find('=');
        std::string name = word.substr(0, equals);
        if (equals != std::string::npos) {
            args.options[name] = word.substr(equals + 1);
        } else if (!words.empty() && findCommand(words.front()) && listed(findCommand(words.front())->valued, name)) {
            if (i + 1 >= argv.size()) {
                result.error = name + " needs a value";
                return result;
            }
            args.options[name] = argv[++i];
        } else {
            args.switches.insert(std::move(name));
        }
    }
    if (words.empty()) {
        result.error = "no command given";
        return result;
    }
    args.command = words.front();
    args.operands.assign(words.begin() + 1, words.end());
    const CommandSpec* spec = findCommand(args.command);
    if (!spec) {
        result.error = "unknown command \"" + args.command + "\"";
        return result;
    }
    for (const auto& [name, value] : args.options) {
        if (!listed(spec->valued, name)) {
            result.error = args.command + " has no option " + name;
            return result;
        }
    }
    for (const std::string& name : args.switches) {
        if (!listed(spec->flags, name)) {
            result.error =
                listed(spec->valued, name) ? name + " needs a value" : args.command + " has no option " + name;
            return result;
        }
    }
    if (!countFits(spec->minOperands, spec->maxOperands, args.operands.size())) {
        result.error = countError(args.command, spec->minOperands, spec->maxOperands, args.operands.size());
        return result;
    }
    if (args.command == "group") {
        result.error = checkGroupVerb(args);
        if (!result.error.empty()) return result;
    }
    if (args.option("--timeout") && !args.has("--wait")) {
        result.error = "--timeout goes with --wait";
        return result;
    }
    result.arguments = std::move(args);
    return result;
}

std::string_view usageText() {
    return "kvmctl COMMAND [OPERANDS] [OPTIONS] [--json|--text]\n"
           "  lines\n"
           "  list [--line L] [--group G]\n"
           "  start ID... [--interval S] [--wait [--timeout S]]\n"
           "  stop ID... [--wait [--timeout S]]\n"
           "  create --line L [--count N] [--resolution WxH] [--dpi D] [--cpu C] [--memory MB]\n"
           "         [--mode balanced|multi|multipro]\n"
           "  clone ID [--count N]\n"
           "  remove ID... --yes\n"
           "  rename ID NAME\n"
           "  backup ID FILE [--compress]\n"
           "  restore ID FILE\n"
           "  get ID [KEY...]\n"
           "  set ID... KEY=VALUE...\n"
           "  (clone, remove, rename, backup, restore and set answer busy at once, or with --wait [--timeout S]\n"
           "   wait until the instance is free)\n"
           "  arrange [ID...] [--layout grid|cascade] [--columns N]\n"
           "  groups [--line L]\n"
           "  group create|rename|delete|add|remove NAME [NEWNAME|ID...] [--line L]\n"
           "IDs are instance ids as \"list\" shows them, or LINE:INDEX (player14:3).\n"
           "Exit codes: 0 ok, 1 usage, 2 not found, 3 busy or running, 4 failed, 5 partly done.\n";
}

} // namespace ctl
