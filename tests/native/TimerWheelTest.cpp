#include "core/dispatch/TimerWheel.h"

#include <gtest/gtest.h>

using common::TimerWheel;

namespace {
std::vector<std::uint32_t> advance(TimerWheel& w, std::uint64_t to) {
    std::vector<std::uint32_t> out;
    w.advance(to, out);
    return out;
}
} // namespace

TEST(TimerWheel, ExpiresInDueOrderThenInsertionOrder) {
    TimerWheel w(0);
    w.add(1, 30);
    w.add(2, 10);
    w.add(3, 10);
    w.add(4, 5000); // several turns of the wheel away
    EXPECT_EQ(w.nextDue(), 10u);
    EXPECT_TRUE(advance(w, 9).empty());
    EXPECT_EQ(advance(w, 10), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(advance(w, 3000), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(w.nextDue(), 5000u);
    EXPECT_EQ(advance(w, 5000), (std::vector<std::uint32_t>{4}));
    EXPECT_TRUE(w.empty());
    EXPECT_FALSE(w.nextDue());
}

TEST(TimerWheel, TimersSharingASlotAcrossTurnsExpireOnlyWhenDue) {
    TimerWheel w(0);
    w.add(1, 5);
    w.add(2, 5 + 1024);
    EXPECT_EQ(advance(w, 5), (std::vector<std::uint32_t>{1}));
    EXPECT_EQ(w.nextDue(), 1029u);
    EXPECT_EQ(advance(w, 1029), (std::vector<std::uint32_t>{2}));
}

TEST(TimerWheel, RemovedAndMovedTimers) {
    TimerWheel w(100);
    w.add(1, 150);
    w.add(2, 150);
    w.remove(1);
    w.remove(42);
    w.add(2, 120); // moved earlier
    w.add(3, 50);  // already past: fires on the next advance
    EXPECT_EQ(advance(w, 101), (std::vector<std::uint32_t>{3}));
    EXPECT_EQ(advance(w, 200), (std::vector<std::uint32_t>{2}));
    EXPECT_TRUE(w.empty());
}
