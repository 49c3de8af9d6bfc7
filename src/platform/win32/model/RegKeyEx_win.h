#pragma once
// String values in the registry: open (or create) a key, read and write values; the key closes with the object.

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
    // Opens the key, creating it (and the keys above it) when it does not exist; the status as above.
    LONG RegRegCreate(HKEY parent, std::wstring_view subKey, REGSAM access);
    // Reads a string value (at most 2048 bytes); -1 without an open key.
    LONG RegRead(std::wstring_view valueName, std::wstring& out);
    // Writes a string value (REG_SZ); -1 without an open key, a failure is logged.
    LONG RegWrite(std::wstring_view valueName, std::wstring_view value);

private:
    HKEY m_hKey = nullptr;
};

} // namespace utility
