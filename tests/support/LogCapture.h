#pragma once
// Records every log line written while it lives (function name and message), from any thread. Tests check
// what was logged with it; fuzz targets hold one per input, so log lines are formatted without piling up.

#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/log/Log.h"

namespace testing_support {

struct CapturedLine {
    std::string function;
    std::wstring message;
};

class LogCapture {
public:
    LogCapture() {
        std::lock_guard lock(mutex());
        lines().clear();
        common::setLogSink(&record);
    }
    ~LogCapture() { common::setLogSink(nullptr); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<CapturedLine> all() const {
        std::lock_guard lock(mutex());
        return lines();
    }
    bool contains(std::string_view function, std::wstring_view message) const {
        const auto copy = all();
        return std::any_of(copy.begin(), copy.end(),
                           [&](const CapturedLine& l) { return l.function == function && l.message == message; });
    }
    static void clear() {
        std::lock_guard lock(mutex());
        lines().clear();
    }
    // Lines of `function` whose message contains `part`.
    static int count(std::string_view function, std::wstring_view part) {
        return countIf([&](const CapturedLine& l) {
            return l.function == function && l.message.find(part) != std::wstring::npos;
        });
    }
    // Lines of `function` whose message is exactly `message`.
    static int countExact(std::string_view function, std::wstring_view message) {
        return countIf([&](const CapturedLine& l) { return l.function == function && l.message == message; });
    }
    // Whether any line, of any function, contains `part`.
    bool containsPart(std::wstring_view part) const {
        const auto copy = all();
        return std::any_of(copy.begin(), copy.end(),
                           [&](const CapturedLine& l) { return l.message.find(part) != std::wstring::npos; });
    }
    bool containsMessage(std::wstring_view message) const {
        const auto copy = all();
        return std::any_of(copy.begin(), copy.end(), [&](const CapturedLine& l) { return l.message == message; });
    }

private:
    template <class Pred>
    static int countIf(Pred pred) {
        std::lock_guard lock(mutex());
        return static_cast<int>(std::count_if(lines().begin(), lines().end(), pred));
    }
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<CapturedLine>& lines() {
        static std::vector<CapturedLine> v;
        return v;
    }
    static int record(std::string_view function, int, std::wstring_view message) {
        std::lock_guard lock(mutex());
        lines().push_back({std::string(function), std::wstring(message)});
        return 0;
    }
};

} // namespace testing_support
