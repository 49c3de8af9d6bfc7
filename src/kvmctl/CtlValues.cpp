#include "kvmctl/CtlValues.h"

#include <algorithm>
#include <climits>
#include <span>
#include <variant>

#include "core/model/SettingLimits.h"
#include "core/storage/InstanceKeys.h"
#include "core/text/Utf.h"
#include "kvmctl/CtlArguments.h"

namespace ctl::values {
namespace {

struct IntRule {
    std::string_view key;
    int min;
    int max;
    std::span<const int> choices; // when not empty, the value must be one of these
};

const IntRule kIntRules[] = {
    {common::keys::kCpuCount, 0, 0, model::kCpuCounts},
    {common::keys::kMemorySize, 0, 0, model::kMemorySizes},
    {common::keys::kFps, model::kMinFps, model::kMaxFps, {}},
    {common::keys::kResolutionDpi, model::kMinDpi, model::kMaxDpi, {}},
    {common::keys::kVMemUsage, 0, 2, {}},
    {"basicSettings.adbDebug", 0, 2, {}},
    {"statusSettings.closeOption", 0, 2, {}},
    {common::keys::kMouseFastOptNew, 0, 1, {}},
    {"basicSettings.qjcjdisableMouseFast", 0, 1, {}},
};

std::string intProblem(std::string_view key, long long value) {
    for (const IntRule& rule : kIntRules) {
        if (rule.key != key) continue;
        if (!rule.choices.empty()) {
            if (std::find(rule.choices.begin(), rule.choices.end(), value) != rule.choices.end()) return {};
            std::string list;
            for (int v : rule.choices) list += (list.empty() ? "" : ", ") + std::to_string(v);
            return "takes one of " + list;
        }
        if (value >= rule.min && value <= rule.max) return {};
        return "takes " + std::to_string(rule.min) + " to " + std::to_string(rule.max);
    }
    return value >= 0 && value <= INT_MAX ? std::string() : "takes a number from 0";
}

struct Assigner {
    std::string_view key;
    std::string_view text;
    model::BatchValues& values;

    std::string operator()(int model::BatchValues::*field) const {
        const auto n = parseWholeNumber(text);
        if (!n) return "takes a whole number";
        if (std::string problem = intProblem(key, *n); !problem.empty()) return problem;
        values.*field = static_cast<int>(*n);
        return {};
    }
    std::string operator()(bool model::BatchValues::*field) const {
        if (text == "true" || text == "1")
            values.*field = true;
        else if (text == "false" || text == "0")
            values.*field = false;
        else
            return "takes true or false";
        return {};
    }
    std::string operator()(std::wstring model::BatchValues::*field) const {
        values.*field = common::text::fromUtf8(text);
        return {};
    }
    std::string operator()(common::Resolution model::BatchValues::*field) const {
        const auto r = parseResolution(text);
        if (!r) return resolutionRule();
        values.*field = *r;
        return {};
    }
    std::string operator()(common::CombineKey model::BatchValues::*field) const {
        const std::size_t colon = text.find(':');
        const auto mods = colon == std::string_view::npos ? std::nullopt : parseWholeNumber(text.substr(0, colon));
        const auto code = colon == std::string_view::npos ? std::nullopt : parseWholeNumber(text.substr(colon + 1));
        if (!mods || !code || *mods < 0 || *mods > 7 || *code < 0 || *code > 255)
            return "takes MODIFIERS:KEY (modifier bits 0 to 7: 1 Alt, 2 Ctrl, 4 Shift; virtual key 0 to 255)";
        values.*field = common::CombineKey{static_cast<int>(*mods), static_cast<std::uint16_t>(*code)};
        return {};
    }
};

} // namespace

std::optional<common::Resolution> parseResolution(std::string_view text) {
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string_view::npos) return std::nullopt;
    const auto w = parseWholeNumber(text.substr(0, x));
    const auto h = parseWholeNumber(text.substr(x + 1));
    const auto fits = [](const std::optional<long long>& side) {
        return side && *side >= model::kMinResolutionSide && *side <= model::kMaxResolutionSide;
    };
    if (!fits(w) || !fits(h)) return std::nullopt;
    return common::Resolution{static_cast<int>(*w), static_cast<int>(*h)};
}

std::string resolutionRule() {
    return "a resolution is WIDTHxHEIGHT, each side " + std::to_string(model::kMinResolutionSide) + " to " +
           std::to_string(model::kMaxResolutionSide);
}

std::string assign(const model::BatchKey& key, std::string_view text, model::BatchValues& values) {
    return std::visit(Assigner{key.key, text, values}, key.field);
}

} // namespace ctl::values
