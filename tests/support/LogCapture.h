#pragma once
// Collects the log lines written while it exists (from any thread): "function\tmessage" each. One at a time.

#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/log/Log.h"

namespace testing_support {

class LogCapture {
public:
    LogCapture() {
        clear();
        common::setLogSink(&LogCapture::sink);
    }
    ~LogCapture() { common::removeLogSink(); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    static void clear() {
        std::lock_guard guard(lock());
        store().clear();
    }
    static std::vector<std::wstring> lines() {
        std::lock_guard guard(lock());
        return store();
    }
    // Lines of `function` whose message contains `part`.
    static int count(std::string_view function, std::wstring_view part) {
        const std::wstring prefix = std::wstring(function.begin(), function.end()) + L"\t";
        const auto all = lines();
        return static_cast<int>(std::count_if(all.begin(), all.end(), [&](const std::wstring& line) {
            return line.starts_with(prefix) && line.find(part, prefix.size()) != std::wstring::npos;
        }));
    }

    // Lines of `function` whose message is exactly `message`.
    static int countExact(std::string_view function, std::wstring_view message) {
        const std::wstring wanted = std::wstring(function.begin(), function.end()) + L"\t" + std::wstring(message);
        const auto all = lines();
        return static_cast<int>(std::count(all.begin(), all.end(), wanted));
    }

private:
    static int sink(std::string_view function, int, std::wstring_view message) {
        std::lock_guard guard(lock());
        store().push_back(std::wstring(function.begin(), function.end()) + L"\t" + std::wstring(message));
        return 1;
    }
    static std::mutex& lock() {
        static std::mutex m;
        return m;
    }
    static std::vector<std::wstring>& store() {
        static std::vector<std::wstring> lines;
        return lines;
    }
};

} // namespace testing_support
