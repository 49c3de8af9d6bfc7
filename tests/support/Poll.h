#pragma once
// Waiting for a condition in tests: checked every few milliseconds until it holds or the patience runs out
// (which only happens when the test fails).

#include <chrono>
#include <functional>
#include <thread>

namespace testing_support {

inline bool pollUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds patience = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace testing_support
