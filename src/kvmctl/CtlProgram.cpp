#include "kvmctl/CtlProgram.h"

#include <algorithm>

namespace ctl {

bool wantsText(const std::vector<std::string>& argv) {
    bool text = false;
    for (const std::string& word : argv) {
        if (word == "--") break;
        if (word == "--text") text = true;
        if (word == "--json") text = false;
    }
    return text;
}

std::optional<Printed> answerWithoutRunning(const ParsedArguments& parsed, bool text) {
    if (parsed.arguments && parsed.arguments->command != "help") return std::nullopt;
    if (parsed.arguments) {
        Reply reply;
        reply.add("usage", jsonString(usageText(), reply.alloc()));
        return Printed{text ? std::string(usageText()) : reply.json(), 0};
    }
    Printed printed = printReply(Reply::error(Exit::Usage, parsed.error), text);
    if (text) printed.out += std::string(usageText());
    return printed;
}

Printed printReply(const Reply& reply, bool text) {
    return Printed{text ? reply.text() : reply.json(), static_cast<int>(reply.exit())};
}

void ProgressPrinter::report(std::string_view what, std::int32_t id, int percent) {
    percent = std::clamp(percent, 0, 100);
    if (id == m_id && percent == m_percent) return;
    const bool sameItem = id == m_id;
    const bool barOpen = !sameItem && m_percent >= 0 && m_percent < 100; // another item's bar never ended
    m_id = id;
    m_percent = percent;
    const std::string label = std::string(what) + " " + std::to_string(id);
    if (!m_bar) {
        m_write(label + " " + std::to_string(percent) + "%\n");
        return;
    }
    constexpr int kWidth = 30;
    const int filled = percent * kWidth / 100;
    std::string line = std::string(sameItem  ? "\r"
                                   : barOpen ? "\n"
                                             : "") +
                       label + " [" + std::string(filled, '#') + std::string(kWidth - filled, ' ') + "] " +
                       std::to_string(percent) + "%";
    if (percent == 100) line += "\n";
    m_write(line);
}

} // namespace ctl
