#pragma once
// The process-wide list of everything that keeps receivers under owner keys (the model's events among
// them). dispatch::cancel and dispatch::retire drop an owner's receivers from every one of them, together
// with its queued tasks, so a window that goes away is told nothing more.

#include <memory>
#include <vector>

#include "core/platform/DispatcherHost.h"

namespace common {

class SubscriptionSource {
public:
    SubscriptionSource(const SubscriptionSource&) = delete;
    SubscriptionSource& operator=(const SubscriptionSource&) = delete;

    // Any thread. Forgets every receiver subscribed under `owner`, handing them to `dropped`: they are
    // destroyed only after every lock is released, since what they hold may itself cancel a key.
    virtual void dropOwner(OwnerKey owner, std::vector<std::shared_ptr<void>>& dropped) = 0;

protected:
    SubscriptionSource() = default;
    ~SubscriptionSource() { leave(); }
    // A source joins once it is whole and leaves before its parts go, so a cancel on another thread never
    // reaches it half built or half destroyed.
    void join();
    void leave();
};

// Drops `owner`'s receivers from every source that exists.
void dropSubscriptions(OwnerKey owner);

} // namespace common
