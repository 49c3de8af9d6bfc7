#pragma once
// What the user-interface thread's event loop provides to the dispatcher.
//
// On Windows this is a hidden message-only window (posted message 8888 and window timers); in the portable
// core it is EventLoop, a thread-safe queue with a timer wheel. Either way tasks reach the dispatcher on the
// user-interface thread, in posting order, and timer ticks arrive there too.

#include <cstdint>

namespace common {
using OwnerKey = std::uintptr_t;
class Dispatcher;
class Runable;
} // namespace common

namespace platform {

using common::OwnerKey;

class DispatcherHost {
public:
    virtual ~DispatcherHost() = default;

    // Sets the dispatcher that receives deliveries; null detaches it, and tasks still queued are then
    // released without running.
    virtual void attach(common::Dispatcher* dispatcher) = 0;
    // Any thread. Queues (owner, task) for Dispatcher::deliverTask on the UI thread. False when it could not
    // be queued; the caller still owns the task then.
    [[nodiscard]] virtual bool postTask(OwnerKey owner, common::Runable* task) = 0;
    // UI thread. Starts a repeating tick of `intervalMs` for Dispatcher::deliverTimer(id).
    virtual bool startTimer(std::uint32_t id, std::uint32_t intervalMs) = 0;
    virtual void stopTimer(std::uint32_t id) = 0;
};

} // namespace platform
