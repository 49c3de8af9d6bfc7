#pragma once
// Reading string values from the registry: open a key, read values, the key closes with the reader.

#include <windows.h>

#include <string>
#include <string_view>

namespace utility {

class RegKeyEx {
public:
    RegKeyEx() = default;
    ~RegKeyEx();
    RegKeyEx(const RegKeyEx&) = delete;
    RegKeyEx& operator=(const RegKeyEx&) = delete;

    // The platform's status: 0 on success; a failure is logged.
    LONG RegRegOpen(HKEY parent, std::wstring_view subKey, REGSAM access);
    // Reads a string value (at most 2048 bytes); -1 without an open key.
    LONG RegRead(std::wstring_view valueName, std::wstring& out);

private:
    HKEY m_hKey = nullptr;
};

} // namespace utility
