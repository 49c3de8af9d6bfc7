#pragma once
// A task that counts its runs and its release in counters owned by the test.

#include <atomic>
#include <functional>

#include "core/dispatch/Runable.h"

namespace testing_support {

struct TaskCounters {
    std::atomic<int> runs{0};
    std::atomic<int> releases{0};
};

class CountingRunable final : public common::Runable {
public:
    explicit CountingRunable(TaskCounters& counters, std::function<void()> onRun = {})
        : m_counters(counters), m_onRun(std::move(onRun)) {}
    void run() override {
        ++m_counters.runs;
        if (m_onRun) m_onRun();
    }
    void release() override {
        ++m_counters.releases;
        delete this;
    }

private:
    TaskCounters& m_counters;
    std::function<void()> m_onRun;
};

} // namespace testing_support
