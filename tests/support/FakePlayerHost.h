#pragma once
// A storage host that records what storage asks of the system: programs run (their exit code 1, a failing
// tool), data messages posted, and instances that count as running by their mutex names.

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/storage/PlayerHost.h"

namespace testing_support {

struct RecordingHost : common::PlayerHost {
    std::vector<std::pair<std::wstring, std::wstring>> executed;
    struct Posted {
        std::wstring windowClass;
        int key;
        std::uint32_t message;
        std::wstring text;
    };
    std::vector<Posted> posted;
    std::set<std::wstring> runningMutexes;

    int execute(const std::wstring& file, const std::wstring& parameters) override {
        executed.emplace_back(file, parameters);
        return 1;
    }
    bool postData(const std::wstring& windowClass, int key, std::uint32_t message, std::wstring_view text) override {
        posted.push_back({windowClass, key, message, std::wstring(text)});
        return true;
    }
    bool isRunning(const std::wstring& mutexName) override { return runningMutexes.count(mutexName) != 0; }
};

} // namespace testing_support
