// Any bytes as the console's command line (words split at NUL): parsing never crashes, an accepted command
// line reads back the same when its words are given again, and every answer printed without running (help
// and usage errors) is JSON of the one error shape. The values of "set" pairs go through their checks too.

#include <rapidjson/document.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/model/BatchApplyTable.h"
#include "kvmctl/CtlArguments.h"
#include "kvmctl/CtlProgram.h"
#include "kvmctl/CtlValues.h"
#include "support/LogCapture.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

std::vector<std::string> words(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            out.emplace_back();
        else
            out.back() += static_cast<char>(data[i]);
    }
    return out;
}

void checkPrinted(const ctl::ParsedArguments& parsed) {
    const auto answer = ctl::answerWithoutRunning(parsed, false);
    if (!answer) return;
    rapidjson::Document doc;
    doc.Parse(answer->out.c_str());
    check(doc.IsObject());
    if (answer->exitCode != 0) check(doc["error"]["code"].IsString() && doc["error"]["message"].IsString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing_support::LogCapture log;
    const std::vector<std::string> argv = words(data, size);
    const ctl::ParsedArguments parsed = ctl::parseArguments(argv);
    check(parsed.arguments.has_value() != !parsed.error.empty());
    checkPrinted(parsed);
    if (!parsed.arguments) return 0;
    const ctl::ParsedArguments again = ctl::parseArguments(argv);
    check(again.arguments && again.arguments->operands == parsed.arguments->operands &&
          again.arguments->options == parsed.arguments->options);
    if (parsed.arguments->command != "set") return 0;
    model::BatchValues values;
    for (const std::string& word : parsed.arguments->operands) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) continue;
        if (const model::BatchKey* key = model::findBatchKey(word.substr(0, equals)))
            (void)ctl::values::assign(*key, word.substr(equals + 1), values);
    }
    return 0;
}
