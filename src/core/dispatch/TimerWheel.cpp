#include "core/dispatch/TimerWheel.h"

#include <algorithm>

namespace common {

void TimerWheel::add(std::uint32_t id, std::uint64_t dueTick) {
    remove(id);
    dueTick = std::max(dueTick, m_now + 1);
    slotOf(dueTick).push_back({id, dueTick, m_order++});
    m_index[id] = dueTick;
}

void TimerWheel::remove(std::uint32_t id) {
    auto it = m_index.find(id);
    if (it == m_index.end()) return;
    auto& slot = slotOf(it->second);
    slot.erase(std::find_if(slot.begin(), slot.end(), [id](const Entry& e) { return e.id == id; }));
    m_index.erase(it);
}

void TimerWheel::collect(std::vector<Entry>& slot, std::uint64_t nowTick, std::vector<Entry>& out) {
    auto keep = std::partition(slot.begin(), slot.end(), [nowTick](const Entry& e) { return e.due > nowTick; });
    for (auto it = keep; it != slot.end(); ++it) {
        out.push_back(*it);
        m_index.erase(it->id);
    }
    slot.erase(keep, slot.end());
}

void TimerWheel::advance(std::uint64_t nowTick, std::vector<std::uint32_t>& expired) {
    if (nowTick <= m_now) return;
    std::vector<Entry> due;
    if (nowTick - m_now >= kSlots) {
        for (auto& slot : m_slots) collect(slot, nowTick, due);
    } else {
        for (std::uint64_t t = m_now + 1; t <= nowTick; ++t) collect(slotOf(t), nowTick, due);
    }
    m_now = nowTick;
    std::sort(due.begin(), due.end(),
              [](const Entry& a, const Entry& b) { return a.due != b.due ? a.due < b.due : a.order < b.order; });
    for (const Entry& e : due) expired.push_back(e.id);
}

std::optional<std::uint64_t> TimerWheel::nextDue() const {
    if (m_index.empty()) return std::nullopt;
    // Within one turn of the wheel the slot of tick t holds the timers due exactly at t.
    for (std::uint64_t t = m_now + 1; t <= m_now + kSlots; ++t) {
        for (const Entry& e : m_slots[t % kSlots])
            if (e.due == t) return t;
    }
    std::uint64_t earliest = UINT64_MAX;
    for (const auto& [id, due] : m_index) earliest = std::min(earliest, due);
    return earliest;
}

} // namespace common
