#pragma once
// Collects the log lines written while it lives, so a test can check that a failure was logged.

#include <algorithm>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/log/Log.h"

namespace testing_support {

class CapturedLog {
public:
    CapturedLog() {
        clear();
        common::setLogSink(&sink);
    }
    ~CapturedLog() { common::removeLogSink(); }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

    std::vector<std::wstring> lines() const {
        std::lock_guard lock(mutex());
        return store();
    }
    bool contains(std::wstring_view part) const {
        const auto all = lines();
        return std::any_of(all.begin(), all.end(), [&](const std::wstring& l) { return l.find(part) != l.npos; });
    }
    void clear() {
        std::lock_guard lock(mutex());
        store().clear();
    }

private:
    static int sink(std::string_view, int, std::wstring_view message) {
        std::lock_guard lock(mutex());
        store().emplace_back(message);
        return 0;
    }
    static std::mutex& mutex() {
        static std::mutex m;
        return m;
    }
    static std::vector<std::wstring>& store() {
        static std::vector<std::wstring> s;
        return s;
    }
};

} // namespace testing_support
