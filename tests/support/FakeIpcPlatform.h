#pragma once
// The IPC sender threads' platform for native tests: a clock the test moves, receivers that answer at once
// or hang on a given message until released or killed, and a record of deliveries and kills.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "core/platform/IpcPlatform.h"

namespace testing_support {

struct Delivery {
    platform::WindowHandle window;
    std::uint32_t messageId;
    std::string payload;
};

class FakeIpcPlatform final : public platform::IpcPlatform {
public:
    // A window handle whose owner is process `pid` (until setOwner says otherwise).
    static platform::WindowHandle window(std::uintptr_t pid) { return pid; }

    std::int32_t windowProcessId(platform::WindowHandle w) override {
        std::lock_guard guard(m_lock);
        const std::uint32_t pid = ownerOf(w);
        return pid == 0 ? -1 : static_cast<std::int32_t>(pid);
    }
    // The window now belongs to `pid` (0: the window is gone), as when a handle is reused.
    void setOwner(platform::WindowHandle w, std::uint32_t pid) {
        std::lock_guard guard(m_lock);
        m_owners[w] = pid;
    }

    void sendData(platform::WindowHandle w, std::uint32_t id, const std::vector<std::uint8_t>& payload) override {
        std::unique_lock guard(m_lock);
        const std::uint32_t pid = ownerOf(w);
        if (m_hangOn.count({pid, id})) {
            m_blocked.insert(pid);
            m_changed.notify_all();
            m_changed.wait(guard, [&] { return !m_blocked.count(pid); });
        }
        m_deliveries.push_back({w, id, std::string(payload.begin(), payload.end())});
        m_changed.notify_all();
    }

    // A killed receiver ends the blocked send, as on Windows.
    bool killProcess(std::uint32_t pid, std::uint32_t waitMs) override {
        std::lock_guard guard(m_lock);
        m_kills.push_back({pid, waitMs});
        m_blocked.erase(pid);
        m_changed.notify_all();
        return true;
    }

    std::int64_t steadyMilliseconds() override {
        std::lock_guard guard(m_lock);
        return m_now;
    }

    void advance(std::int64_t ms) {
        std::lock_guard guard(m_lock);
        m_now += ms;
    }
    void hangOn(std::uintptr_t pid, std::uint32_t id) {
        std::lock_guard guard(m_lock);
        m_hangOn.insert({static_cast<std::uint32_t>(pid), id});
    }
    // Lets a hung receiver answer; later messages of that id hang no more.
    void answer(std::uintptr_t pid) {
        std::lock_guard guard(m_lock);
        for (auto it = m_hangOn.begin(); it != m_hangOn.end();)
            it = it->first == pid ? m_hangOn.erase(it) : std::next(it);
        m_blocked.erase(static_cast<std::uint32_t>(pid));
        m_changed.notify_all();
    }

    bool waitUntilBlocked(std::uintptr_t pid) {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, kPatience, [&] { return m_blocked.count(static_cast<std::uint32_t>(pid)); });
    }
    bool waitForDeliveries(std::size_t count) {
        std::unique_lock guard(m_lock);
        return m_changed.wait_for(guard, kPatience, [&] { return m_deliveries.size() >= count; });
    }

    std::vector<Delivery> deliveries() {
        std::lock_guard guard(m_lock);
        return m_deliveries;
    }
    std::vector<std::pair<std::uint32_t, std::uint32_t>> kills() {
        std::lock_guard guard(m_lock);
        return m_kills;
    }

private:
    static constexpr std::chrono::seconds kPatience{20}; // only reached when a test fails

    std::uint32_t ownerOf(platform::WindowHandle w) const {
        const auto it = m_owners.find(w);
        return it != m_owners.end() ? it->second : static_cast<std::uint32_t>(w);
    }

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::int64_t m_now = 1'000'000;
    std::map<platform::WindowHandle, std::uint32_t> m_owners;
    std::set<std::pair<std::uint32_t, std::uint32_t>> m_hangOn;
    std::set<std::uint32_t> m_blocked;
    std::vector<Delivery> m_deliveries;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_kills;
};

inline std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

} // namespace testing_support
