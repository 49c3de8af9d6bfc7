#pragma once
// The named mutexes of this session, listed from the object manager's directory in one pass instead of one
// open per name.

#include <string>
#include <vector>

namespace platform::win32 {

// Appends every named mutex of the session's namespace; false when the directory cannot be read (nothing is
// appended then, and callers test names one by one).
bool listSessionMutexes(std::vector<std::wstring>& names);

} // namespace platform::win32
