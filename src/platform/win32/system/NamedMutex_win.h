#pragma once
// Whether a named mutex exists, the test for "this instance runs".

#include <string>

namespace platform::win32 {

// Opens the mutex asking for no access rights. Windows refuses that open with ERROR_ACCESS_DENIED exactly
// when the mutex exists; Wine hands out a handle instead. Either answer means it exists.
bool namedMutexExists(const std::wstring& name);

} // namespace platform::win32
