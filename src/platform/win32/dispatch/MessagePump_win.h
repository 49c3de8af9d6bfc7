#pragma once
// Pumping the calling thread's messages until a condition holds: for tests and for waits that must keep the
// thread's windows alive. Never a fixed sleep.

#include <chrono>
#include <functional>

namespace platform::win32 {

// Dispatches messages until `done` returns true or `timeout` passes; returns done(). Stops early, returning
// done(), when WM_QUIT arrives (it is posted again for the caller's loop).
bool pumpMessagesUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

} // namespace platform::win32
