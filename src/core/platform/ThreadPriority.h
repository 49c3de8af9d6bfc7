#pragma once
// Scheduling of the calling thread, for background threads that are woken to take work off the others.
// Implemented beside the other operating-system facts (Os_win.cpp, Os_posix.cpp).

namespace platform {

// From now on the calling thread runs only when the program's other ready threads leave it room: woken at
// normal priority, it would take the processor of the thread that woke it.
void lowerCurrentThreadPriority();

} // namespace platform
