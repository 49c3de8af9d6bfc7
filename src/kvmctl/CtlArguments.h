#pragma once
// The console's command line: a command, its operands and its options, checked against the command's table
// entry (how many operands, which options take a value, which are switches) before anything runs. Parsing
// never fails hard: a wrong command line is a message for the usage error.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace ctl {

struct Arguments {
    std::string command;                                     // "list", "start", "group"...
    std::vector<std::string> operands;                       // for "group" the first is its verb
    std::map<std::string, std::string, std::less<>> options; // "--line" → "player14"
    std::set<std::string, std::less<>> switches;             // "--wait", "--yes"...
    bool text = false;                                       // --text (--json is the default)

    bool has(std::string_view name) const { return switches.count(name) != 0; }
    const std::string* option(std::string_view name) const;
};

struct ParsedArguments {
    std::optional<Arguments> arguments;
    std::string error; // what was wrong, when arguments is empty
};

// `argv` without the program's name.
ParsedArguments parseArguments(const std::vector<std::string>& argv);

// The one-screen summary printed by "help" and beside a usage error in text mode.
std::string_view usageText();

// A whole number from `text` (digits only, optionally a leading '-'); empty when anything else is there or
// it does not fit.
std::optional<long long> parseWholeNumber(std::string_view text);

} // namespace ctl
