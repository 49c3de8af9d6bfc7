#pragma once
// A steady clock that moves only when the test says so.

#include <chrono>

namespace testing_support {

class ManualClock {
public:
    std::chrono::steady_clock::time_point now() const { return m_now; }
    void advance(std::chrono::milliseconds by) { m_now += by; }
    auto function() {
        return [this] { return now(); };
    }

private:
    std::chrono::steady_clock::time_point m_now{std::chrono::hours(1)};
};

} // namespace testing_support
