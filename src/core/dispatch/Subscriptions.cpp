#include "core/dispatch/Subscriptions.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace common {
namespace {

struct Sources {
    std::mutex lock;
    std::vector<SubscriptionSource*> all;
};

Sources& sources() {
    static Sources* const instance = new Sources; // never destroyed: sources may outlive static destruction
    return *instance;
}

} // namespace

void SubscriptionSource::join() {
    Sources& s = sources();
    std::lock_guard guard(s.lock);
    s.all.push_back(this);
}

void SubscriptionSource::leave() {
    Sources& s = sources();
    std::lock_guard guard(s.lock);
    s.all.erase(std::remove(s.all.begin(), s.all.end(), this), s.all.end());
}

void dropSubscriptions(OwnerKey owner) {
    std::vector<std::shared_ptr<void>> dropped; // destroyed last, outside the lock
    Sources& s = sources();
    std::lock_guard guard(s.lock); // a source cannot go away while it drops
    for (SubscriptionSource* source : s.all) source->dropOwner(owner, dropped);
}

} // namespace common
