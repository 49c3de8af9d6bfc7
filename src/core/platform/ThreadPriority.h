#pragma once
// Scheduling of the calling thread, for background threads that are woken to take work off the others.
// Implemented beside the other operating-system facts (Os_win.cpp, Os_posix.cpp).

namespace platform {

// From now on the calling thread, when woken, waits for a free processor like any ready thread instead of
// taking the processor of the thread that woke it; it keeps its share of the processor otherwise.
void stopWakePreemption();

} // namespace platform
