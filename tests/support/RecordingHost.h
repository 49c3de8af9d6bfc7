#pragma once
// A desktop that records in full what storage asks of it: programs run (their exit code 1, a failing tool)
// and data messages posted, whether or not the instance runs; instances count as running by their mutexes.

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "support/FakeInstanceDesktop.h"

namespace testing_support {

struct RecordingHost : FakeInstanceDesktop {
    std::vector<std::pair<std::wstring, std::wstring>> executed;
    struct Posted {
        std::wstring windowClass;
        int key;
        std::uint32_t message;
        std::wstring text;
    };
    std::vector<Posted> posted;
    std::unordered_set<std::wstring>& runningMutexes = mutexes;

    int execute(const std::wstring& file, const std::wstring& parameters) override {
        executed.emplace_back(file, parameters);
        return 1;
    }
    bool postData(const std::wstring& windowClass, int key, std::uint32_t message, std::wstring_view text) override {
        posted.push_back({windowClass, key, message, std::wstring(text)});
        return true;
    }
};

} // namespace testing_support
