#pragma once
// An event that any number of receivers subscribe to, each under its dispatcher owner key.
//
// Receivers are called on the user-interface thread in the order they subscribed. A receiver dropped while
// an emission runs (its window closed from an earlier receiver) is not called any more; one that subscribes
// meanwhile hears from the next emission on. Cancelling or retiring an owner key drops its receivers from
// every event, so a window that closes never hears of the model again and no window relays for another.

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "core/dispatch/Subscriptions.h"

namespace common {

template <class... Args>
class Event final : public SubscriptionSource {
public:
    using Receiver = std::function<void(Args...)>;

    Event() { join(); }
    ~Event() { leave(); }

    // False (and nothing kept) for owner 0 or an empty receiver.
    bool subscribe(OwnerKey owner, Receiver receiver) {
        if (owner == 0 || !receiver) return false;
        std::lock_guard guard(m_lock);
        m_entries.push_back(std::make_shared<Entry>(Entry{owner, std::move(receiver)}));
        return true;
    }

    void dropOwner(OwnerKey owner, std::vector<std::shared_ptr<void>>& dropped) override {
        std::lock_guard guard(m_lock);
        std::erase_if(m_entries, [owner, &dropped](const std::shared_ptr<Entry>& e) {
            if (e->owner != owner) return false;
            e->dropped = true;
            dropped.push_back(e);
            return true;
        });
    }

    // Calls every receiver; false when nobody listens.
    bool emit(Args... args) const {
        std::vector<std::shared_ptr<Entry>> entries;
        {
            std::lock_guard guard(m_lock);
            entries = m_entries;
        }
        if (entries.empty()) return false;
        for (const auto& e : entries) {
            bool dropped;
            {
                std::lock_guard guard(m_lock);
                dropped = e->dropped;
            }
            if (!dropped) e->receiver(args...);
        }
        return true;
    }

    std::size_t receiverCount() const {
        std::lock_guard guard(m_lock);
        return m_entries.size();
    }

private:
    struct Entry {
        OwnerKey owner;
        Receiver receiver;
        bool dropped = false;
    };
    mutable std::mutex m_lock; // dispatch::cancel may come from any thread
    std::vector<std::shared_ptr<Entry>> m_entries;
};

} // namespace common
