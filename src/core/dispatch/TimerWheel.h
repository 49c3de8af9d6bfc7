#pragma once
// A hashed timing wheel with one-millisecond ticks: adding and removing a timer is O(1), advancing the clock
// visits only the slots of the ticks that passed. Timers due on the same tick expire in the order they were
// added.

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace common {

class TimerWheel {
public:
    explicit TimerWheel(std::uint64_t nowTick = 0) : m_now(nowTick) {}

    // A due tick that has already passed fires on the next advance. Adding an id again moves it.
    void add(std::uint32_t id, std::uint64_t dueTick);
    void remove(std::uint32_t id);
    // Moves the wheel to `nowTick` and appends every expired id to `expired`, earliest first.
    void advance(std::uint64_t nowTick, std::vector<std::uint32_t>& expired);
    std::optional<std::uint64_t> nextDue() const;

    std::uint64_t now() const { return m_now; }
    bool empty() const { return m_index.empty(); }
    std::size_t size() const { return m_index.size(); }

private:
    static constexpr std::size_t kSlots = 1024;
    struct Entry {
        std::uint32_t id;
        std::uint64_t due;
        std::uint64_t order;
    };
    std::vector<Entry>& slotOf(std::uint64_t tick) { return m_slots[tick % kSlots]; }
    void collect(std::vector<Entry>& slot, std::uint64_t nowTick, std::vector<Entry>& out);

    std::array<std::vector<Entry>, kSlots> m_slots;
    std::unordered_map<std::uint32_t, std::uint64_t> m_index; // id → due tick
    std::uint64_t m_now;
    std::uint64_t m_order = 0;
};

} // namespace common
