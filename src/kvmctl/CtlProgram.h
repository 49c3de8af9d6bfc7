#pragma once
// The console program's frame around the commands: what it prints for help and usage errors without
// opening anything, how a reply is printed, and the progress on standard error (a line per percent step,
// or one bar redrawn in place on a console).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kvmctl/CtlArguments.h"
#include "kvmctl/CtlReply.h"

namespace ctl {

struct Printed {
    std::string out; // standard output
    int exitCode = 0;
};

// Whether the readable form was asked for (looked up even when parsing failed).
bool wantsText(const std::vector<std::string>& argv);

// The answer to "help" or to a command line that did not parse; none when the command is to run.
std::optional<Printed> answerWithoutRunning(const ParsedArguments& parsed, bool text);

Printed printReply(const Reply& reply, bool text);

class ProgressPrinter {
public:
    // `write` receives the text for standard error; `bar` draws in place instead of printing lines.
    ProgressPrinter(std::function<void(std::string_view)> write, bool bar) : m_write(std::move(write)), m_bar(bar) {}
    void report(std::string_view what, std::int32_t id, int percent);

private:
    std::function<void(std::string_view)> m_write;
    bool m_bar;
    std::int32_t m_id = -1;
    int m_percent = -1;
};

} // namespace ctl
